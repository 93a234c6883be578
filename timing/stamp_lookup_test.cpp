#include "timing/stamp_lookup.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/fake_platform.h"
#include "platform/utf8_text.h"

namespace {

using enum StampKind;

struct KindCase {
  const char16_t* name;
  StampKind kind;
  TimeValue stamp;
  std::vector<Text> searched;  // the names handed to the platform
};

const KindCase KindCases[] = {
    {u"a.txt", Created, 1, {u"a.txt"}},      {u"a.txt", Accessed, 2, {u"a.txt"}},
    {u"a.txt", Modified, 3, {u"a.txt"}},     {u"", Modified, 0, {}},
    {u"missing", Modified, 0, {u"missing"}}, {u"zero", Modified, 0, {u"zero"}},
    {u"partial", Created, 0, {u"partial"}},  {u"partial", Modified, 6, {u"partial"}},
};

TEST(LookupStamp, PicksTheStampOfItsKindAndZeroForMissing) {
  for (const KindCase& c : KindCases) {
    SCOPED_TRACE(testing::Message() << "case #" << (&c - KindCases));
    FakePlatform platform;
    platform.entries[u"a.txt"] = {1, 2, 3};
    platform.entries[u"zero"] = {0, 0, 0};
    platform.entries[u"partial"] = {0, 5, 6};
    EXPECT_EQ(LookupStamp(platform, c.name, c.kind), c.stamp);
    EXPECT_EQ(platform.namesLookedUp, c.searched);
  }
}

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
  StampKind kind;
  TimeValue stamp;
};

// Names are taken exactly as given: "?" and a trailing backslash are
// ordinary characters.
const ContractCase ContractCases[] = {
    {u"f.txt", Accessed, Ticks(FileAccess)},
    {u"f.txt", Modified, Ticks(FileWrite)},
    {u"d", Modified, Ticks(DirWrite)},
    {u"d\\", Modified, 0},
    {u"w?.txt", Modified, Ticks(FileWrite)},
    {u"w*.txt", Modified, 0},
    {u"missing", Modified, 0},
};

class LookupStampContract : public testing::Test {
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
      EXPECT_EQ(LookupStamp(platform, Name(c.leaf), c.kind), c.stamp)
          << testing::PrintToString(Text(c.leaf));
    }
  }

  std::string directory;
};

TEST_F(LookupStampContract, FakePlatform) {
  FakePlatform platform;
  platform.entries[Name(u"f.txt")] = {0, Ticks(FileAccess), Ticks(FileWrite)};
  platform.entries[Name(u"w?.txt")] = {0, Ticks(FileAccess), Ticks(FileWrite)};
  platform.entries[Name(u"d")] = {0, Ticks(FileAccess), Ticks(DirWrite)};
  CheckContract(platform);
}

TEST_F(LookupStampContract, LinuxPlatform) { CheckContract(OpenSystemPlatform(0, nullptr)); }

}  // namespace
