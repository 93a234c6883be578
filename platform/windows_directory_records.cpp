#include "platform/windows_directory_records.h"

#include <cstring>

namespace {

// FILE_FULL_DIR_INFORMATION's layout; the name follows the fixed part.
constexpr size_t NextEntryOffsetAt = 0;
constexpr size_t CreationTimeAt = 8;
constexpr size_t LastAccessTimeAt = 16;
constexpr size_t LastWriteTimeAt = 24;
constexpr size_t ChangeTimeAt = 32;
constexpr size_t FileAttributesAt = 56;
constexpr size_t FileNameLengthAt = 60;
constexpr size_t EaSizeAt = 64;
constexpr size_t FileNameAt = 68;

// x86 is little-endian, as the records are.
template <typename Value>
Value Load(const unsigned char* bytes) {
  Value value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

}  // namespace

bool NextDirectoryRecord(std::span<const unsigned char> records, size_t& offset,
                         DirectoryRecord& record) {
  if (offset >= records.size() || records.size() - offset < FileNameAt) return false;
  const unsigned char* start = records.data() + offset;
  const uint32_t nameBytes = Load<uint32_t>(start + FileNameLengthAt);
  if (nameBytes % 2 != 0 || records.size() - offset - FileNameAt < nameBytes) return false;
  const uint32_t next = Load<uint32_t>(start + NextEntryOffsetAt);
  if (next != 0 && next < FileNameAt + nameBytes) return false;
  record.name =
      std::u16string_view(reinterpret_cast<const char16_t*>(start + FileNameAt), nameBytes / 2);
  record.attributes = Load<uint32_t>(start + FileAttributesAt);
  record.reparseTag = Load<uint32_t>(start + EaSizeAt);
  record.stamps.created = TicksFromFileTime(Load<uint64_t>(start + CreationTimeAt));
  record.stamps.accessed = TicksFromFileTime(Load<uint64_t>(start + LastAccessTimeAt));
  record.stamps.modified = TicksFromFileTime(Load<uint64_t>(start + LastWriteTimeAt));
  record.stamps.changed = TicksFromFileTime(Load<uint64_t>(start + ChangeTimeAt));
  offset = next == 0 || next > records.size() - offset ? records.size() : offset + next;
  return true;
}
