#pragma once
// Builds bitmap files for the tests, field by field (see the layout at the top of
// imaging/bmp_reader.cpp).
#include <cstdint>
#include <vector>

namespace tessival::imaging::test {

using BmpBytes = std::vector<std::uint8_t>;

inline void Le(BmpBytes& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

struct BmpSpec {
  int width = 0;
  int height = 0;  // negative: rows stored top-down
  int bits = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> palette;  // 0xRRGGBB
  std::vector<std::uint32_t> masks;    // red, green, blue (bit fields)
  BmpBytes pixels;                     // as stored, padding included
  bool core_header = false;            // the 12-byte header with 3-byte table entries
  bool zero_offset = false;            // writers that leave the pixel offset 0
};

inline BmpBytes MakeBmp(const BmpSpec& spec) {
  BmpBytes info;
  if (spec.core_header) {
    Le(info, 12, 4);
    Le(info, static_cast<std::uint32_t>(spec.width), 2);
    Le(info, static_cast<std::uint32_t>(spec.height), 2);
    Le(info, 1, 2);
    Le(info, static_cast<std::uint32_t>(spec.bits), 2);
  } else {
    Le(info, 40, 4);
    Le(info, static_cast<std::uint32_t>(spec.width), 4);
    Le(info, static_cast<std::uint32_t>(spec.height), 4);
    Le(info, 1, 2);
    Le(info, static_cast<std::uint32_t>(spec.bits), 2);
    Le(info, spec.compression, 4);
    Le(info, static_cast<std::uint32_t>(spec.pixels.size()), 4);
    Le(info, 2835, 4);
    Le(info, 2835, 4);
    Le(info, static_cast<std::uint32_t>(spec.palette.size()), 4);
    Le(info, 0, 4);
    for (std::uint32_t mask : spec.masks) Le(info, mask, 4);
  }
  for (std::uint32_t rgb : spec.palette) {
    info.push_back(static_cast<std::uint8_t>(rgb));
    info.push_back(static_cast<std::uint8_t>(rgb >> 8));
    info.push_back(static_cast<std::uint8_t>(rgb >> 16));
    if (!spec.core_header) info.push_back(0);
  }
  BmpBytes out{'B', 'M'};
  const auto offset = static_cast<std::uint32_t>(14 + info.size());
  Le(out, static_cast<std::uint32_t>(offset + spec.pixels.size()), 4);
  Le(out, 0, 4);
  Le(out, spec.zero_offset ? 0 : offset, 4);
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), spec.pixels.begin(), spec.pixels.end());
  return out;
}

}  // namespace tessival::imaging::test
