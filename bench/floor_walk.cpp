// The floor of a full walk on Linux: getdents64 over every directory of a
// tree and one statx (the modified time, not following links) per entry
// that is no directory, nothing else: no comparison, no text, no memory
// beyond one buffer per level. bench/walk times datora's walk against it.
//
//   floor_walk TREE     (prints the number of entries it stat'ed)
#include <dirent.h>
#include <fcntl.h>
#include <linux/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>

namespace {

struct LinuxDirent64 {
  unsigned long long inode;
  long long offset;
  unsigned short length;
  unsigned char type;
  char name[1];
};

long Walk(int directory) {
  alignas(8) char buffer[32768];
  long count = 0;
  for (;;) {
    const long got = syscall(SYS_getdents64, directory, buffer, sizeof buffer);
    if (got <= 0) break;
    for (long at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const LinuxDirent64*>(buffer + at);
      at += entry->length;
      const char* name = entry->name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      if (entry->type == DT_DIR) {
        const int child = openat(directory, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (child >= 0) {
          count += Walk(child);
          close(child);
        }
        continue;
      }
      struct statx stamps;
      if (syscall(SYS_statx, directory, name, AT_SYMLINK_NOFOLLOW, STATX_MTIME, &stamps) == 0) {
        ++count;
      }
    }
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const int root = open(argv[1], O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (root < 0) return 2;
  std::printf("%ld\n", Walk(root));
  return 0;
}
