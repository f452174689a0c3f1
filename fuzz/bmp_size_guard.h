#pragma once
// A run-length bitmap of a few bytes may declare tens of millions of pixels, which the
// reader then fills as it must; under the sanitizers that takes longer than a fuzz run may.
// The fuzz targets pass over such inputs: filling large buffers is not what they look for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

inline bool DeclaresHugeBitmap(const std::uint8_t* data, std::size_t size) {
  if (size < 26 || data[0] != 'B' || data[1] != 'M') return false;
  const auto u16 = [&](std::size_t at) {
    return std::uint32_t{data[at]} | (std::uint32_t{data[at + 1]} << 8);
  };
  const auto i32 = [&](std::size_t at) {
    return static_cast<std::int32_t>(u16(at) | (u16(at + 2) << 16));
  };
  std::int64_t width = 0, height = 0;
  if (u16(14) == 12) {
    width = u16(18), height = u16(20);
  } else {
    width = i32(18), height = i32(22);
  }
  return std::llabs(width) * std::llabs(height) > (std::int64_t{1} << 22);
}
