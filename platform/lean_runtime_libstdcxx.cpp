// The hooks through which libstdc++'s headers throw: with no exceptions,
// each ends the process with the error code (see lean_runtime.cpp).
#include "platform/platform.h"

namespace std {
[[noreturn]] void __throw_length_error(const char*) { EndProcess(ExitError); }
[[noreturn]] void __throw_logic_error(const char*) { EndProcess(ExitError); }
[[noreturn]] void __throw_out_of_range(const char*) { EndProcess(ExitError); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { EndProcess(ExitError); }
[[noreturn]] void __throw_bad_alloc() { EndProcess(ExitError); }
[[noreturn]] void __throw_bad_array_new_length() { EndProcess(ExitError); }
}  // namespace std
