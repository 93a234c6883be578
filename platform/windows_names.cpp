#include "platform/windows_names.h"

#include <string_view>

namespace {

constexpr std::u16string_view LongPathPrefix = u"\\\\?\\";
constexpr std::u16string_view LongUncPrefix = u"\\\\?\\UNC\\";
constexpr std::u16string_view Wildcards = u"*?<>\"";
constexpr uint32_t DirectoryAttribute = 0x10;      // FILE_ATTRIBUTE_DIRECTORY
constexpr uint32_t ReparsePointAttribute = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT
constexpr uint32_t NameSurrogateTag = 0x20000000;  // IsReparseTagNameSurrogate

bool IsBareDrive(std::u16string_view path) {
  if (path.size() != 2 || path[1] != u':') return false;
  const char16_t letter = path[0];
  return (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
}

bool IsDriveRoot(std::u16string_view path) {
  return path.size() == 3 && IsBareDrive(path.substr(0, 2)) && path[2] == u'\\';
}

// "server\share\": two components that are not empty, then the backslash.
bool IsServerShareRoot(std::u16string_view path) {
  if (path.size() < 4 || path.back() != u'\\') return false;
  path.remove_suffix(1);
  const size_t split = path.find(u'\\');
  if (split == 0 || split == std::u16string_view::npos || split + 1 == path.size()) return false;
  return path.find(u'\\', split + 1) == std::u16string_view::npos;
}

bool EndsInSeparator(std::u16string_view path) {
  return !path.empty() && (path.back() == u'\\' || path.back() == u'/');
}

}  // namespace

bool IsWindowsRoot(std::u16string_view path) {
  if (path == u"\\") return true;
  if (path.starts_with(LongUncPrefix)) return IsServerShareRoot(path.substr(LongUncPrefix.size()));
  if (path.starts_with(LongPathPrefix)) return IsDriveRoot(path.substr(LongPathPrefix.size()));
  if (path.starts_with(u"\\\\")) return IsServerShareRoot(path.substr(2));
  return IsDriveRoot(path);
}

bool WindowsSetPathName(const Text& path, Text& named) {
  std::u16string_view rest = path;
  if (rest.starts_with(LongPathPrefix)) rest.remove_prefix(LongPathPrefix.size());
  if (rest.empty() || rest.find_first_of(Wildcards) != std::u16string_view::npos) return false;
  named = path;
  if (named.back() == u'\\' && !IsWindowsRoot(named)) named.pop_back();
  return !named.empty();
}

Text WindowsMemberPathPrefix(const Text& path) {
  Text prefix = path;
  WindowsSetPathName(path, prefix);
  if (!EndsInSeparator(prefix) && !IsBareDrive(prefix)) prefix += u'\\';
  return prefix;
}

Text WindowsListingPattern(const Text& root, std::span<const Text> below) {
  Text pattern = WindowsMemberPathPrefix(root);
  for (const Text& component : below) {
    pattern += component;
    pattern += u'\\';
  }
  pattern += u'*';
  return pattern;
}

Text WindowsLongPathForm(const Text& full) {
  const std::u16string_view path = full;
  if (path.starts_with(LongPathPrefix) || path.starts_with(u"\\\\.\\")) return full;
  if (path.starts_with(u"\\\\")) return Text(LongUncPrefix) + Text(path.substr(2));
  return Text(LongPathPrefix) + full;
}

bool WindowsParentAndLeaf(const Text& full, Text& parent, Text& leaf) {
  const size_t split = full.rfind(u'\\');
  if (split == Text::npos || split + 1 == full.size()) return false;
  parent = full.substr(0, split + 1);
  leaf = full.substr(split + 1);
  return true;
}

bool WindowsDescends(uint32_t attributes, uint32_t reparseTag) {
  if ((attributes & DirectoryAttribute) == 0) return false;
  return (attributes & ReparsePointAttribute) == 0 || (reparseTag & NameSurrogateTag) == 0;
}

bool WindowsSearchName(const Text& name, Text& searched) {
  std::u16string_view path = name;
  const bool prefixed = path.starts_with(LongPathPrefix);
  if (prefixed) path.remove_prefix(LongPathPrefix.size());
  if (path.find_first_of(Wildcards) != std::u16string_view::npos) return false;
  if (!path.empty() && path.back() == u'\\') {
    path.remove_suffix(1);
    if (IsBareDrive(path)) return false;
  }
  if (path.empty()) return false;
  searched.assign(prefixed ? LongPathPrefix : std::u16string_view());
  searched += path;
  return true;
}
