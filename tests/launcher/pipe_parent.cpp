// Test helper for the Windows build: a parent that gives the child's
// standard output a pipe of its own and reads that pipe only after the
// child has ended, as a caller expecting a few short lines often does.
//
//   datora_pipe_parent.exe PROGRAM [PARAMETER...]
//
// The parameters are joined with single spaces into the child's command
// line (so they must need no quotes). A child that blocks on the unread
// pipe is stopped after 30 s and the parent ends with PipeTimeout;
// otherwise it copies what the pipe holds to its own standard output and
// ends with the child's exit code. Standard input and error are inherited.
#include <windows.h>

#include <string>

namespace {

constexpr UINT PipeUsage = 250;
constexpr UINT PipeStartFailure = 251;
constexpr UINT PipeTimeout = 253;
constexpr DWORD ChildTimeoutMs = 30000;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) ExitProcess(PipeUsage);
  std::wstring commandLine = argv[1];
  for (int i = 2; i < argc; ++i) commandLine += std::wstring(L" ") + argv[i];

  SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
  HANDLE reader = nullptr;
  HANDLE writer = nullptr;
  if (!CreatePipe(&reader, &writer, &inheritable, 0)) ExitProcess(PipeStartFailure);
  SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writer;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ExitProcess(PipeStartFailure);
  }
  CloseHandle(writer);
  if (WaitForSingleObject(process.hProcess, ChildTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, PipeTimeout);
    ExitProcess(PipeTimeout);
  }
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  char buffer[4096];
  DWORD read = 0;
  DWORD written = 0;
  while (ReadFile(reader, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    WriteFile(output, buffer, read, &written, nullptr);
  }
  DWORD code = PipeStartFailure + 1;
  GetExitCodeProcess(process.hProcess, &code);
  ExitProcess(code);
}
