// The floor of a full walk under Windows: FindFirstFileExW (basic
// information, large fetch) over every directory of a tree, the stamps
// taken from the listing, nothing else. bench/walk times datora.exe's walk
// against it under Wine.
//
//   floor_walk_win32.exe TREE     (prints the number of files listed)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

long Walk(const std::wstring& directory) {
  WIN32_FIND_DATAW entry;
  const std::wstring pattern = directory + L"\\*";
  const HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return 0;
  long count = 0;
  do {
    const wchar_t* name = entry.cFileName;
    if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) continue;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      count += Walk(directory + L"\\" + name);
    } else if (entry.ftLastWriteTime.dwHighDateTime != 0) {
      ++count;
    }
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  std::printf("%ld\n", Walk(argv[1]));
  return 0;
}
