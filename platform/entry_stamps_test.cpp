#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

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
      EntryStamps modified;
      EntryStamps accessed;
      ASSERT_EQ(platform.FindEntryStamps(Name(c.leaf), StampKind::Modified, modified), c.found);
      ASSERT_EQ(platform.FindEntryStamps(Name(c.leaf), StampKind::Accessed, accessed), c.found);
      if (!c.found) continue;
      EXPECT_EQ(accessed.accessed, c.accessed);
      EXPECT_EQ(modified.modified, c.modified);
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

// The changed stamp is the system's own: the modified time set back in
// SetUp leaves it at the moment of that change, and a chmod moves it but
// not the modified time.
TEST_F(FindEntryStampsContract, LinuxPlatformChangedFollowsEveryChangeOfTheEntry) {
  Platform& platform = OpenSystemPlatform(0, nullptr);
  const TimeValue setUpEnded = platform.CurrentTime();
  EntryStamps before;
  ASSERT_TRUE(platform.FindEntryStamps(Name(u"f.txt"), StampKind::Changed, before));
  EXPECT_GT(before.changed, Ticks(FileAccess));
  EXPECT_LE(before.changed, setUpEnded);
  usleep(20'000);  // past the file system's clock granularity
  ASSERT_EQ(chmod((directory + "/f.txt").c_str(), 0400), 0);
  EntryStamps after;
  ASSERT_TRUE(platform.FindEntryStamps(Name(u"f.txt"), StampKind::Changed, after));
  EXPECT_GT(after.changed, before.changed);
  ASSERT_TRUE(platform.FindEntryStamps(Name(u"f.txt"), StampKind::Modified, after));
  EXPECT_EQ(after.modified, Ticks(FileWrite));
}

// Sets of files: the listing of a temporary tree, on the fake and the real
// Linux layer alike.
constexpr struct timespec LinkWrite = {1'700'000'000, 0};

struct Seen {
  bool isDirectory;
  ListedEntry::Stamps status;
  TimeValue modified;  // 0 for a directory, whose stamps are not read
  bool operator==(const Seen&) const = default;
};

class Collector final : public ListingVisitor {
 public:
  bool Visit(const ListedEntry& entry) override {
    seen[Text(entry.name)] = {entry.isDirectory, entry.status,
                              entry.isDirectory ? 0 : entry.stamps.modified};
    return true;
  }
  std::map<Text, Seen> seen;
};

const Seen File = {false, ListedEntry::Stamps::Read, Ticks(FileWrite)};
const Seen Link = {false, ListedEntry::Stamps::Read, Ticks(LinkWrite)};
const Seen Directory = {true, ListedEntry::Stamps::Read, 0};
const std::map<Text, Seen> RootListing = {
    {u"f.txt", File}, {u".h", File}, {u"sub", Directory}, {u"link", Link}, {u"dirlink", Link}};

class ListDirectoryContract : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "datora_sets_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root = pattern;
    ASSERT_EQ(mkdir((root + "/sub").c_str(), 0700), 0);
    const struct timespec fileTimes[2] = {FileAccess, FileWrite};
    const struct timespec linkTimes[2] = {FileAccess, LinkWrite};
    for (const char* leaf : {"/f.txt", "/.h", "/sub/inner.txt"}) {
      close(open((root + leaf).c_str(), O_CREAT | O_WRONLY, 0600));
      ASSERT_EQ(utimensat(AT_FDCWD, (root + leaf).c_str(), fileTimes, 0), 0);
    }
    ASSERT_EQ(symlink("f.txt", (root + "/link").c_str()), 0);
    ASSERT_EQ(symlink("sub", (root + "/dirlink").c_str()), 0);
    for (const char* leaf : {"/link", "/dirlink"}) {
      ASSERT_EQ(utimensat(AT_FDCWD, (root + leaf).c_str(), linkTimes, AT_SYMLINK_NOFOLLOW), 0);
    }
  }

  void TearDown() override { ASSERT_EQ(system(("rm -rf '" + root + "'").c_str()), 0); }

  Text Path(const char* leaf) const { return DecodeUtf8(root + leaf); }

  static std::map<Text, Seen> Listing(Platform& platform, const Text& path, std::vector<Text> below,
                                      ListingEnd expected) {
    Collector collector;
    EXPECT_EQ(platform.ListDirectory(path, below, StampKind::Modified, collector), expected);
    return collector.seen;
  }

  void CheckContract(Platform& platform) {
    EXPECT_EQ(platform.ProbeSetPath(Path("")), PathKind::Directory);
    EXPECT_EQ(platform.ProbeSetPath(Path("/f.txt")), PathKind::Entry);
    EXPECT_EQ(platform.ProbeSetPath(Path("/dirlink")), PathKind::Entry);
    EXPECT_EQ(platform.ProbeSetPath(Path("/dirlink/")), PathKind::Directory);
    EXPECT_EQ(platform.ProbeSetPath(Path("/missing")), PathKind::Missing);
    EXPECT_EQ(Listing(platform, Path(""), {}, ListingEnd::Listed), RootListing);
    const std::map<Text, Seen> inner = {{u"inner.txt", File}};
    EXPECT_EQ(Listing(platform, Path(""), {u"sub"}, ListingEnd::Listed), inner);
    EXPECT_EQ(Listing(platform, Path("/dirlink/"), {}, ListingEnd::Listed), inner);
    EXPECT_TRUE(Listing(platform, Path(""), {u"gone"}, ListingEnd::Vanished).empty());
    EXPECT_EQ(platform.MemberPathPrefix(Path("")), Path("/"));
    EXPECT_EQ(platform.MemberPathPrefix(Path("/")), Path("/"));
    EXPECT_EQ(platform.PathSeparator(), u'/');
  }

  std::string root;
};

TEST_F(ListDirectoryContract, FakePlatform) {
  FakePlatform platform(FakeSystem::Linux);
  for (const char* leaf : {"/f.txt", "/dirlink"}) platform.entries[Path(leaf)] = {};
  for (const auto& [name, seen] : RootListing) {
    platform.directories[Path("")].entries.push_back(
        {name, seen.isDirectory, {}, {0, 0, seen.modified}});
  }
  for (const char* directory : {"/sub", "/dirlink/"}) {
    platform.directories[Path(directory)].entries.push_back(
        {u"inner.txt", false, {}, {0, 0, File.modified}});
  }
  CheckContract(platform);
}

TEST_F(ListDirectoryContract, LinuxPlatform) { CheckContract(OpenSystemPlatform(0, nullptr)); }

// A folder without access is an end-to-end row: the tests run as root,
// whom no folder is denied, and that row runs as nobody.
TEST_F(ListDirectoryContract, LinuxPlatformDoesNotReadABindMountOfAnAncestorAgain) {
  const std::string target = root + "/sub/again";
  ASSERT_EQ(mkdir(target.c_str(), 0700), 0);
  if (mount(root.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) {
    GTEST_SKIP() << "no bind mount here (it needs root and a mount namespace that allows it)";
  }
  Platform& platform = OpenSystemPlatform(0, nullptr);
  EXPECT_EQ(Listing(platform, Path(""), {u"sub"}, ListingEnd::Listed).count(u"again"), 1);
  Listing(platform, Path(""), {u"sub", u"again"}, ListingEnd::Unreadable);
  EXPECT_EQ(umount2(target.c_str(), MNT_DETACH), 0);
}

// Deeper than a path can be long and than the descriptors allowed: each
// level holds "d" and the deepest one the file "f".
constexpr size_t DeepTreeLevels = 3000;

TEST_F(ListDirectoryContract, LinuxPlatformListsATreeThreeThousandLevelsDeep) {
  int fd = open(root.c_str(), O_RDONLY | O_DIRECTORY);
  for (size_t level = 0; level < DeepTreeLevels; ++level) {
    ASSERT_EQ(mkdirat(fd, "d", 0700), 0);
    const int below = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = below;
  }
  close(openat(fd, "f", O_CREAT | O_WRONLY, 0600));
  close(fd);
  struct rlimit limit = {};
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limit), 0);
  const struct rlimit lowered = {256, limit.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &lowered), 0);
  Platform& platform = OpenSystemPlatform(0, nullptr);
  const std::vector<Text> path(DeepTreeLevels, u"d");
  for (size_t level = 0; level <= DeepTreeLevels; ++level) {
    const std::span<const Text> below(path.data(), level);
    Collector collector;
    ASSERT_EQ(platform.ListDirectory(Path(""), below, StampKind::Modified, collector),
              ListingEnd::Listed)
        << level;
    ASSERT_EQ(collector.seen.size(), level == 0 ? RootListing.size() + 1 : 1) << level;
    ASSERT_EQ(collector.seen.count(level == DeepTreeLevels ? u"f" : u"d"), 1) << level;
  }
  // Back up after the shallow descriptors were closed: reopened from the root.
  const std::map<Text, Seen> level2 = {{u"d", Directory}};
  EXPECT_EQ(Listing(platform, Path(""), {u"d", u"d"}, ListingEnd::Listed), level2);
  setrlimit(RLIMIT_NOFILE, &limit);
}

}  // namespace
