#include "platform/windows_names.h"

#include <string_view>

namespace {

constexpr std::u16string_view LongPathPrefix = u"\\\\?\\";
constexpr std::u16string_view Wildcards = u"*?<>\"";

bool IsBareDrive(std::u16string_view path) {
  if (path.size() != 2 || path[1] != u':') return false;
  const char16_t letter = path[0];
  return (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
}

}  // namespace

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
