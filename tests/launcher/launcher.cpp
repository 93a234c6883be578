// Test helper for the Windows build: starts a program with an exact
// command-line text and ends with its exit code.
//
//   datora_launcher.exe PROGRAM COMMAND_LINE_FILE
//
// COMMAND_LINE_FILE holds the whole command line (program path included)
// as UTF-16LE without a byte-order mark. The child inherits the standard
// handles. Wine would rebuild a command line passed through argv with its
// own quoting; CreateProcessW passes the text through untouched.
#include <windows.h>

#include <vector>

namespace {

constexpr UINT LauncherFailure = 250;

bool ReadCommandLine(const wchar_t* path, std::vector<wchar_t>& text) {
  const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(file, nullptr);
  text.assign(size / 2 + 1, L'\0');
  DWORD read = 0;
  const bool ok = ReadFile(file, text.data(), size, &read, nullptr) && read == size;
  CloseHandle(file);
  return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<wchar_t> commandLine;
  if (argc != 3 || !ReadCommandLine(argv[2], commandLine)) ExitProcess(LauncherFailure);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ExitProcess(LauncherFailure + 1);
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = LauncherFailure + 2;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ExitProcess(code);
}
