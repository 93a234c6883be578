// Datora never throws and is built without exceptions. The few places where
// the standard library would throw (allocation failure, absurd string
// lengths) end the process with the error code instead; defining them here
// keeps the exception runtime, its demangler and its unwinder out of the
// executables, which keeps them small and quick to start.
#include <cstdlib>
#include <new>

#include "platform/platform.h"

namespace {

[[noreturn]] void OutOfResources() { EndProcess(ExitError); }

}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size != 0 ? size : 1);
  if (block == nullptr) OutOfResources();
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace std {
[[noreturn]] void __throw_length_error(const char*) { OutOfResources(); }
[[noreturn]] void __throw_logic_error(const char*) { OutOfResources(); }
[[noreturn]] void __throw_out_of_range(const char*) { OutOfResources(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { OutOfResources(); }
[[noreturn]] void __throw_bad_alloc() { OutOfResources(); }
[[noreturn]] void __throw_bad_array_new_length() { OutOfResources(); }
}  // namespace std
