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

struct BmpShape {
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

inline BmpBytes MakeBmp(const BmpShape& shape) {
  BmpBytes info;
  if (shape.core_header) {
    Le(info, 12, 4);
    Le(info, static_cast<std::uint32_t>(shape.width), 2);
    Le(info, static_cast<std::uint32_t>(shape.height), 2);
    Le(info, 1, 2);
    Le(info, static_cast<std::uint32_t>(shape.bits), 2);
  } else {
    Le(info, 40, 4);
    Le(info, static_cast<std::uint32_t>(shape.width), 4);
    Le(info, static_cast<std::uint32_t>(shape.height), 4);
    Le(info, 1, 2);
    Le(info, static_cast<std::uint32_t>(shape.bits), 2);
    Le(info, shape.compression, 4);
    Le(info, static_cast<std::uint32_t>(shape.pixels.size()), 4);
    Le(info, 2835, 4);
    Le(info, 2835, 4);
    Le(info, static_cast<std::uint32_t>(shape.palette.size()), 4);
    Le(info, 0, 4);
    for (std::uint32_t mask : shape.masks) Le(info, mask, 4);
  }
  for (std::uint32_t rgb : shape.palette) {
    info.push_back(static_cast<std::uint8_t>(rgb));
    info.push_back(static_cast<std::uint8_t>(rgb >> 8));
    info.push_back(static_cast<std::uint8_t>(rgb >> 16));
    if (!shape.core_header) info.push_back(0);
  }
  BmpBytes out{'B', 'M'};
  const auto offset = static_cast<std::uint32_t>(14 + info.size());
  Le(out, static_cast<std::uint32_t>(offset + shape.pixels.size()), 4);
  Le(out, 0, 4);
  Le(out, shape.zero_offset ? 0 : offset, 4);
  out.insert(out.end(), info.begin(), info.end());
  out.insert(out.end(), shape.pixels.begin(), shape.pixels.end());
  return out;
}

}  // namespace tessival::imaging::test
