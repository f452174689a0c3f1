#pragma once
// TBitmap: a device-independent raster of 1, 4, 8, 24 or 32 bits per pixel.
//
// Memory layout (what ScanLine returns):
//   - rows are stored top-down: ScanLine(0) is the top row;
//   - every row is padded to a multiple of 4 bytes (RowBytes);
//   - 1 and 4 bits: the leftmost pixel in the most significant bits of a byte;
//   - 8 bits: one palette index per byte;
//   - 24 bits: blue, green, red bytes;
//   - 32 bits: blue, green, red, unused bytes (a little-endian 0x00RRGGBB word), the
//     layout the Qt side wraps without copying.
// Bitmaps of 8 or fewer bits carry a palette (their colour table); one made without a
// palette gets the monochrome palette (1 bit) or the system palette (4 and 8 bits). A
// bitmap with 0 width or height is empty and valid. Sizes are checked: a bitmap larger
// than MaxBitmapBytes raises EOutOfResources instead of overflowing.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

#include "platform/colors.h"
#include "platform/palette.h"

namespace tessival::platform {

class EOutOfResources : public std::runtime_error {
 public:
  explicit EOutOfResources(const std::string& message) : std::runtime_error(message) {}
};

enum class PixelFormat { pf1bit = 1, pf4bit = 4, pf8bit = 8, pf24bit = 24, pf32bit = 32 };

constexpr std::size_t MaxBitmapBytes = std::size_t{256} << 20;

class TBitmap {
 public:
  TBitmap() = default;
  // A bitmap of the size, all pixels 0 (black, or palette index 0).
  TBitmap(int width, int height, PixelFormat format);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  PixelFormat Format() const { return format_; }
  int BitsPerPixel() const { return static_cast<int>(format_); }
  bool IsIndexed() const { return BitsPerPixel() <= 8; }
  bool Monochrome() const { return format_ == PixelFormat::pf1bit; }
  // Bytes per row, padded to 4 bytes: ((bits x width + 31) div 32) x 4.
  int RowBytes() const { return row_bytes_; }
  static int RowBytesFor(int width, PixelFormat format);

  std::uint8_t* ScanLine(int y);
  const std::uint8_t* ScanLine(int y) const;
  std::uint8_t* Bits() { return bits_.data(); }
  const std::uint8_t* Bits() const { return bits_.data(); }
  std::size_t ByteSize() const { return bits_.size(); }

  // The colour table of an indexed bitmap (empty for 24 and 32 bits).
  const TPalette& Palette() const { return palette_; }
  void SetPalette(const TPalette& palette);

  // Pixel access in plain colours; an indexed bitmap stores the nearest palette entry.
  // Coordinates outside the bitmap read black and write nothing.
  TColor GetPixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  // Raw pixel value: the palette index (indexed formats) or the 0x00BBGGRR colour.
  std::uint32_t GetRaw(int x, int y) const;
  void SetRaw(int x, int y, std::uint32_t value);

  void Fill(TColor color);
  // Resizes to a new size and format; the pixels become 0.
  void SetSize(int width, int height, PixelFormat format);
  // A copy in another pixel format (colours kept as far as the format allows).
  TBitmap Converted(PixelFormat format, const TPalette* palette = nullptr) const;

  friend bool operator==(const TBitmap&, const TBitmap&) = default;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::pf24bit;
  int row_bytes_ = 0;
  std::vector<std::uint8_t> bits_;
  TPalette palette_;
};

}  // namespace tessival::platform
