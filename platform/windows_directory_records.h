// The records NtQueryDirectoryFile writes for the FileFullDirectoryInformation
// class, read field by field. Pure code, linked into the Windows build and
// the unit tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "base/time_value.h"

// One record: an entry of a directory with its four stamps.
struct DirectoryRecord {
  std::u16string_view name;  // points into the records read
  uint32_t attributes = 0;
  uint32_t reparseTag = 0;  // for a reparse point; the EA size otherwise
  EntryStamps stamps;       // UTC; 0 where the file system keeps none
};

// Reads the record that starts at `offset` of the bytes the call filled and
// moves `offset` to the next record, or to the end after the last one.
// False, reading nothing, at the end or where a record would reach past it.
bool NextDirectoryRecord(std::span<const unsigned char> records, size_t& offset,
                         DirectoryRecord& record);
