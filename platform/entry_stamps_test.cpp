#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/fake_platform.h"
#include "platform/utf8_text.h"

namespace {

// The same cases run against the fake and the real Linux layer, on a
// temporary directory whose entries carry sub-second stamps.
constexpr struct timespec FileAccess = {1'600'000'000, 123'456'789};
constexpr struct timespec FileWrite = {1'500'000'000, 987'654'321};
constexpr struct timespec DirWrite = {946'684'800, 5'000};

constexpr TimeValue Ticks(const struct timespec& t) {
  return (t.tv_sec + 11'644'473'600) * 10'000'000 + t.tv_nsec / 100;
}

struct ContractCase {
  const char16_t* leaf;  // appended to the directory name and "/"
  bool found;
  TimeValue accessed, modified;
};

// Names are taken exactly as given: "?" and a trailing backslash are
// ordinary characters.
const ContractCase ContractCases[] = {
    {u"f.txt", true, Ticks(FileAccess), Ticks(FileWrite)},
    {u"d", true, Ticks(FileAccess), Ticks(DirWrite)},
    {u"d\\", false, 0, 0},
    {u"w?.txt", true, Ticks(FileAccess), Ticks(FileWrite)},
    {u"w*.txt", false, 0, 0},
    {u"missing", false, 0, 0},
};

class FindEntryStampsContract : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "datora_lookup_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory = pattern;
    for (const char* leaf : {"/f.txt", "/w?.txt"}) {
      const int fd = open((directory + leaf).c_str(), O_CREAT | O_WRONLY, 0600);
      ASSERT_GE(fd, 0);
      close(fd);
    }
    ASSERT_EQ(mkdir((directory + "/d").c_str(), 0700), 0);
    const struct timespec fileTimes[2] = {FileAccess, FileWrite};
    const struct timespec dirTimes[2] = {FileAccess, DirWrite};
    ASSERT_EQ(utimensat(AT_FDCWD, (directory + "/f.txt").c_str(), fileTimes, 0), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, (directory + "/w?.txt").c_str(), fileTimes, 0), 0);
    ASSERT_EQ(utimensat(AT_FDCWD, (directory + "/d").c_str(), dirTimes, 0), 0);
  }

  void TearDown() override {
    for (const char* leaf : {"/f.txt", "/w?.txt"}) unlink((directory + leaf).c_str());
    rmdir((directory + "/d").c_str());
    rmdir(directory.c_str());
  }

  Text Name(const char16_t* leaf) const { return DecodeUtf8(directory) + u"/" + leaf; }

  void CheckContract(Platform& platform) {
    for (const ContractCase& c : ContractCases) {
      SCOPED_TRACE(testing::PrintToString(Text(c.leaf)));
      EntryStamps stamps;
      ASSERT_EQ(platform.FindEntryStamps(Name(c.leaf), stamps), c.found);
      if (!c.found) continue;
      EXPECT_EQ(stamps.accessed, c.accessed);
      EXPECT_EQ(stamps.modified, c.modified);
    }
  }

  std::string directory;
};

TEST_F(FindEntryStampsContract, FakePlatform) {
  FakePlatform platform(FakeSystem::Linux);
  platform.entries[Name(u"f.txt")] = {0, Ticks(FileAccess), Ticks(FileWrite)};
  platform.entries[Name(u"w?.txt")] = {0, Ticks(FileAccess), Ticks(FileWrite)};
  platform.entries[Name(u"d")] = {0, Ticks(FileAccess), Ticks(DirWrite)};
  CheckContract(platform);
}

TEST_F(FindEntryStampsContract, LinuxPlatform) { CheckContract(OpenSystemPlatform(0, nullptr)); }

}  // namespace
