// Helpers shared by the fuzz targets: turning fuzzer bytes into values and
// texts, and failing loudly when an invariant breaks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "base/text.h"

// Aborts with `what` when `condition` is false; libFuzzer records the input.
inline void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// Consumes fuzzer bytes front to back; reads past the end give zeros.
struct ByteReader {
  const uint8_t* data;
  size_t size;

  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }

  int64_t Int64() {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value = (value << 8) | Byte();
    return static_cast<int64_t>(value);
  }

  // The rest of the input as UTF-16LE code units (an odd last byte dropped).
  Text RestAsText() {
    Text text;
    text.reserve(size / 2);
    while (size >= 2) {
      text.push_back(static_cast<char16_t>(data[0] | (data[1] << 8)));
      data += 2;
      size -= 2;
    }
    return text;
  }
};
