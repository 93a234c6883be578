// The physical floor of a run of `datora a before b` on x86_64 Linux: a
// static program with no C library that makes only the system calls the
// musl build makes (thread pointer, thread-id address, statx of both
// operands, exit), so that the wall time left is the kernel's: exec, page
// faults, the two lookups and the exit. Built by bench/run with
// -nostdlib -static; no header, as there is no C library.
//
//   floor A before B     (exits 0 when both operands were found)

namespace {

constexpr long SysArchPrctl = 158;
constexpr long SysSetTidAddress = 218;
constexpr long SysStatx = 332;
constexpr long SysExitGroup = 231;
constexpr long ArchSetFs = 0x1002;
constexpr long AtFdCwd = -100;
constexpr long AtSymlinkNoFollow = 0x100;
constexpr long AtNoAutomount = 0x800;
constexpr long StatxWanted = 0x860;  // STATX_ATIME | STATX_MTIME | STATX_BTIME

long Call(long number, long a, long b, long c, long d, long e) {
  long result;
  register long r10 __asm__("r10") = d;
  register long r8 __asm__("r8") = e;
  __asm__ volatile("syscall"
                   : "=a"(result)
                   : "a"(number), "D"(a), "S"(b), "d"(c), "r"(r10), "r"(r8)
                   : "rcx", "r11", "memory");
  return result;
}

// The thread block's first word points to itself, as a C library's does.
unsigned long threadBlock[64];
int threadId;
unsigned char entry[256];  // struct statx

long Address(const void* pointer) { return reinterpret_cast<long>(pointer); }

long Lookup(const char* path) {
  return Call(SysStatx, AtFdCwd, Address(path), AtSymlinkNoFollow | AtNoAutomount, StatxWanted,
              Address(entry));
}

}  // namespace

// Entered from _start with the initial stack: argc, then argv.
extern "C" [[noreturn]] __attribute__((used)) void FloorMain(long* stack) {
  const long count = stack[0];
  char** argv = reinterpret_cast<char**>(stack + 1);
  threadBlock[0] = static_cast<unsigned long>(Address(threadBlock));
  Call(SysArchPrctl, ArchSetFs, Address(threadBlock), 0, 0, 0);
  Call(SysSetTidAddress, Address(&threadId), 0, 0, 0, 0);
  long code = 255;
  if (count >= 4 && Lookup(argv[1]) == 0 && Lookup(argv[3]) == 0) code = 0;
  for (;;) Call(SysExitGroup, code, 0, 0, 0, 0);
}

__asm__(
    ".globl _start\n"
    "_start:\n"
    "  mov %rsp, %rdi\n"
    "  and $-16, %rsp\n"
    "  call FloorMain\n");
