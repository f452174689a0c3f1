#pragma once
// TDib: a device-independent copy of a bitmap in the classic packed form:
//
//   header       40 bytes (BitmapInfoHeader below): width, height, 1 plane, bit count,
//                no compression, image size
//   colour table 2^bits entries of blue, green, red, 0 when bits <= 8 (palette order is
//                red, green, blue, flags; the table is blue, green, red, 0)
//   bits         rows bottom-up (the last row of the picture first), each padded to
//                ((bits x width + 31) div 32) x 4 bytes
//
// 32-bit bitmaps are stored with 24 bits. The bits are plain heap memory; the movable
// global memory of the original platform has no meaning here.
#include <cstdint>
#include <vector>

#include "platform/bitmap.h"

namespace tessival::platform {

struct BitmapInfoHeader {
  std::uint32_t biSize = 40;
  std::int32_t biWidth = 0;
  std::int32_t biHeight = 0;
  std::uint16_t biPlanes = 1;
  std::uint16_t biBitCount = 0;
  std::uint32_t biCompression = 0;
  std::uint32_t biSizeImage = 0;
  std::int32_t biXPelsPerMeter = 0;
  std::int32_t biYPelsPerMeter = 0;
  std::uint32_t biClrUsed = 0;
  std::uint32_t biClrImportant = 0;
};

struct RgbQuad {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t reserved = 0;
};

class TDib {
 public:
  explicit TDib(const TBitmap& bitmap);

  const BitmapInfoHeader& Header() const { return header_; }
  const std::vector<RgbQuad>& ColorTable() const { return colors_; }
  const std::vector<std::uint8_t>& Bits() const { return bits_; }
  int RowBytes() const { return row_bytes_; }
  // Size of the information block: header plus colour table.
  std::size_t InfoSize() const { return 40 + 4 * colors_.size(); }
  std::size_t BitsSize() const { return bits_.size(); }

  // A new bitmap from the copy (the CreateDIBitmap step); 24-bit copies give 24-bit
  // bitmaps, indexed ones keep their colour table as the palette.
  TBitmap ToBitmap() const;

 private:
  BitmapInfoHeader header_;
  std::vector<RgbQuad> colors_;
  std::vector<std::uint8_t> bits_;
  int row_bytes_ = 0;
};

}  // namespace tessival::platform
