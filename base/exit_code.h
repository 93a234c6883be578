// The exit code a run ends with.
#pragma once

// 0 = the stated relation holds, 1 = it does not, 255 = error or usage.
using ExitCode = int;
inline constexpr ExitCode ExitTrue = 0;
inline constexpr ExitCode ExitFalse = 1;
inline constexpr ExitCode ExitError = 255;
