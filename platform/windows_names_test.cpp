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

}  // namespace
