// Datora never throws and is built without exceptions. The few places where
// the standard library would throw (allocation failure, absurd string
// lengths) end the process with the error code instead; defining them here
// keeps the exception runtime, its demangler and its unwinder out of the
// executables, which keeps them small and quick to start. libstdc++'s throw
// hooks are in lean_runtime_libstdcxx.cpp; libc++'s headers need none.
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
