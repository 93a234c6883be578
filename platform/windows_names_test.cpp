#include "platform/windows_names.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
  const char16_t* name;
  const char16_t* searched;  // nullptr: never searched
};

const NameCase NameCases[] = {
    {u"a.txt", u"a.txt"},
    {u"dir\\", u"dir"},
    {u"dir\\\\", u"dir\\"},
    {u"C:", u"C:"},
    {u"C:\\dir\\", u"C:\\dir"},
    {u"\\\\?\\C:\\dir\\file.txt", u"\\\\?\\C:\\dir\\file.txt"},
    {u"\\\\?\\C:\\dir\\", u"\\\\?\\C:\\dir"},
    {u"\\\\?\\C:", u"\\\\?\\C:"},
    {u"x\\\\?\\y", nullptr},
    {u"a*.txt", nullptr},
    {u"a?.txt", nullptr},
    {u"a.t>t", nullptr},
    {u"a<", nullptr},
    {u"a\"b", nullptr},
    {u"\\\\?\\C:\\*.txt", nullptr},
    {u"", nullptr},
    {u"\\", nullptr},
    {u"C:\\", nullptr},
    {u"z:\\", nullptr},
    {u"\\\\?\\C:\\", nullptr},
    {u"\\\\?\\", nullptr},
};

TEST(WindowsSearchName, RefusesWildcardsAndDriveRootsAndDropsOneTrailingBackslash) {
  for (const NameCase& c : NameCases) {
    SCOPED_TRACE(testing::PrintToString(Text(c.name)));
    Text searched;
    const bool searchable = WindowsSearchName(c.name, searched);
    EXPECT_EQ(searchable, c.searched != nullptr);
    if (searchable && c.searched != nullptr) {
      EXPECT_EQ(searched, c.searched);
    }
  }
}

struct SetPathCase {
  const char16_t* path;
  const char16_t* named;  // nullptr: names no set
  const char16_t* prefix;
  const char16_t* pattern;  // of the set's own directory
};

const SetPathCase SetPathCases[] = {
    {u"src", u"src", u"src\\", u"src\\*"},
    {u"src\\", u"src", u"src\\", u"src\\*"},
    {u"src/", u"src/", u"src/", u"src/*"},
    {u"a\\b\\\\", u"a\\b\\", u"a\\b\\", u"a\\b\\*"},
    {u"C:\\", u"C:\\", u"C:\\", u"C:\\*"},
    {u"C:", u"C:", u"C:", u"C:*"},
    {u"C:dir\\", u"C:dir", u"C:dir\\", u"C:dir\\*"},
    {u"\\", u"\\", u"\\", u"\\*"},
    {u"\\\\srv\\share", u"\\\\srv\\share", u"\\\\srv\\share\\", u"\\\\srv\\share\\*"},
    {u"\\\\srv\\share\\", u"\\\\srv\\share\\", u"\\\\srv\\share\\", u"\\\\srv\\share\\*"},
    {u"\\\\srv\\share\\d\\", u"\\\\srv\\share\\d", u"\\\\srv\\share\\d\\", u"\\\\srv\\share\\d\\*"},
    {u"\\\\?\\C:\\", u"\\\\?\\C:\\", u"\\\\?\\C:\\", u"\\\\?\\C:\\*"},
    {u"\\\\?\\C:\\d\\", u"\\\\?\\C:\\d", u"\\\\?\\C:\\d\\", u"\\\\?\\C:\\d\\*"},
    {u"\\\\?\\UNC\\srv\\share\\", u"\\\\?\\UNC\\srv\\share\\", u"\\\\?\\UNC\\srv\\share\\",
     u"\\\\?\\UNC\\srv\\share\\*"},
    {u"a*", nullptr, nullptr, nullptr},
    {u"\\\\?\\C:\\a?", nullptr, nullptr, nullptr},
    {u"\\\\?\\", nullptr, nullptr, nullptr},
    {u"", nullptr, nullptr, nullptr},
};

TEST(WindowsSetPath, KeepsARootsBackslashAndDropsOneFromAnyOtherPath) {
  for (const SetPathCase& c : SetPathCases) {
    SCOPED_TRACE(testing::PrintToString(Text(c.path)));
    Text named;
    const bool names = WindowsSetPathName(c.path, named);
    ASSERT_EQ(names, c.named != nullptr);
    if (!names || c.named == nullptr) continue;
    EXPECT_EQ(named, c.named);
    EXPECT_EQ(WindowsMemberPathPrefix(c.path), c.prefix);
    EXPECT_EQ(WindowsListingPattern(c.path, {}), c.pattern);
  }
}

TEST(WindowsListingPattern, FollowsTheComponentsBelowTheRoot) {
  const Text below[] = {u"a", u"b c"};
  EXPECT_EQ(WindowsListingPattern(u"src\\", below), u"src\\a\\b c\\*");
  EXPECT_EQ(WindowsListingPattern(u"X:", below), u"X:a\\b c\\*");
}

TEST(WindowsLongPathForm, PrefixesDrivePathsAndShares) {
  EXPECT_EQ(WindowsLongPathForm(u"C:\\d\\"), u"\\\\?\\C:\\d\\");
  EXPECT_EQ(WindowsLongPathForm(u"\\\\srv\\share\\d"), u"\\\\?\\UNC\\srv\\share\\d");
  EXPECT_EQ(WindowsLongPathForm(u"\\\\?\\C:\\d"), u"\\\\?\\C:\\d");
  EXPECT_EQ(WindowsLongPathForm(u"\\\\.\\pipe\\p"), u"\\\\.\\pipe\\p");
}

TEST(WindowsParentAndLeaf, SplitsAtTheLastBackslashButNotARoot) {
  Text parent;
  Text leaf;
  ASSERT_TRUE(WindowsParentAndLeaf(u"\\\\?\\C:\\d\\f.txt", parent, leaf));
  EXPECT_EQ(parent, u"\\\\?\\C:\\d\\");
  EXPECT_EQ(leaf, u"f.txt");
  EXPECT_FALSE(WindowsParentAndLeaf(u"C:\\", parent, leaf));
}

TEST(WindowsDescends, IntoDirectoriesButNotIntoNameSurrogates) {
  EXPECT_TRUE(WindowsDescends(0x10, 0));
  EXPECT_TRUE(WindowsDescends(0x10 | 0x400, 0x9000001A));   // a cloud placeholder
  EXPECT_FALSE(WindowsDescends(0x10 | 0x400, 0xA000000C));  // a directory symbolic link
  EXPECT_FALSE(WindowsDescends(0x10 | 0x400, 0xA0000003));  // a junction or mount point
  EXPECT_FALSE(WindowsDescends(0x20, 0));
  EXPECT_FALSE(WindowsDescends(0x20 | 0x400, 0xA000000C));  // a file symbolic link
  EXPECT_TRUE(WindowsDescends(0x10, 0xA000000C));  // no reparse point: the tag means nothing
}

}  // namespace
