#include "platform/windows_directory_records.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Appends one record as the system lays it out, eight-byte aligned.
void AddRecord(std::vector<unsigned char>& records, const uint64_t (&times)[4], uint32_t attributes,
               uint32_t eaSize, std::u16string_view name, bool last) {
  const size_t start = records.size();
  const uint32_t nameBytes = static_cast<uint32_t>(name.size() * 2);
  const uint32_t length = (68 + nameBytes + 7) & ~7u;
  records.resize(start + length);
  unsigned char* at = records.data() + start;
  const uint32_t next = last ? 0 : length;
  std::memcpy(at, &next, 4);
  std::memcpy(at + 8, times, sizeof times);
  std::memcpy(at + 56, &attributes, 4);
  std::memcpy(at + 60, &nameBytes, 4);
  std::memcpy(at + 64, &eaSize, 4);
  std::memcpy(at + 68, name.data(), nameBytes);
}

// A file as FAT lists it (no change time) and a directory symbolic link.
TEST(NextDirectoryRecord, ReadsEachRecordAndAMissingChangeTimeAsZero) {
  std::vector<unsigned char> records;
  AddRecord(records, {130'000'000'000'000'000, 131'000'000'000'000'000, 132'000'000'000'000'000, 0},
            0x20, 0, u"fat.txt", false);
  AddRecord(records, {1, 2, 3, 1ull << 63}, 0x410, 0xA000000C, u"link", true);
  size_t offset = 0;
  DirectoryRecord record;
  ASSERT_TRUE(NextDirectoryRecord(records, offset, record));
  EXPECT_EQ(record.name, u"fat.txt");
  EXPECT_EQ(record.attributes, 0x20u);
  EXPECT_EQ(record.stamps.created, 130'000'000'000'000'000);
  EXPECT_EQ(record.stamps.accessed, 131'000'000'000'000'000);
  EXPECT_EQ(record.stamps.modified, 132'000'000'000'000'000);
  EXPECT_EQ(record.stamps.changed, 0);
  ASSERT_TRUE(NextDirectoryRecord(records, offset, record));
  EXPECT_EQ(record.name, u"link");
  EXPECT_EQ(record.reparseTag, 0xA000000Cu);
  EXPECT_EQ(record.stamps.modified, 3);
  EXPECT_EQ(record.stamps.changed, 0);  // past the tick scale
  EXPECT_EQ(offset, records.size());
  EXPECT_FALSE(NextDirectoryRecord(records, offset, record));
}

TEST(NextDirectoryRecord, RefusesARecordThatReachesPastTheBytesFilled) {
  std::vector<unsigned char> records;
  AddRecord(records, {1, 2, 3, 4}, 0x20, 0, u"name.txt", true);
  for (const size_t filled : {size_t{67}, size_t{68 + 15}}) {
    size_t offset = 0;
    DirectoryRecord record;
    EXPECT_FALSE(NextDirectoryRecord(std::span(records).first(filled), offset, record));
    EXPECT_EQ(offset, 0u);
  }
}

}  // namespace
