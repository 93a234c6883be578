// Entry point: builds the platform, runs Datora and ends the process.
#include "app/run_driver.h"
#include "platform/platform.h"

namespace {

int RunProcess(int argc, char** argv) {
  const ExitCode code = RunDatora(OpenSystemPlatform(argc, argv));
  EndProcess(code);
}

}  // namespace

// The Windows build is linked with -municode and enters through wmain; the
// platform reads the command line itself there, so the arguments are unused.
#if defined(_WIN32)
int wmain(int, wchar_t**) { return RunProcess(0, nullptr); }
#else
int main(int argc, char** argv) { return RunProcess(argc, argv); }
#endif
