#include "timing/stamp_lookup.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/fake_platform.h"

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

TEST(EvaluateFileOperand, PicksTheStampOfItsKindAndFailsForMissing) {
  for (const KindCase& c : KindCases) {
    SCOPED_TRACE(testing::Message() << "case #" << (&c - KindCases));
    FakePlatform platform(FakeSystem::Windows);
    platform.entries[u"a.txt"] = {1, 2, 3};
    platform.entries[u"zero"] = {0, 0, 0};
    platform.entries[u"partial"] = {0, 5, 6};
    const OperandValue value = EvaluateFileOperand(platform, c.name, c.kind);
    EXPECT_EQ(value.time, c.stamp);
    EXPECT_EQ(value.message, c.stamp == 0 ? u"Not found or invalid: " + Text(c.name) : u"");
    EXPECT_EQ(value.form, OperandForm::Moment);
    EXPECT_EQ(value.dateEffect, DateEffect::None);
    EXPECT_EQ(platform.namesLookedUp, c.searched);
  }
}

}  // namespace
