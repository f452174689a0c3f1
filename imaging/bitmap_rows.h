#pragma once
// Row access for colour reduction: a reader that presents any bitmap as 24-bit rows
// (blue, green, red) and a writer that fills a device-independent copy of a bitmap in a
// chosen format and hands it back on completion.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "imaging/pixel_image.h"

namespace tessival::imaging {

class EBitmapRowError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace bitmap_text {
inline constexpr const char* kInvalidBitmap = "Bitmap image is not valid";
inline constexpr const char* kInvalidPixelFormat = "Invalid pixel format";
inline constexpr const char* kScanLineRange = "Scan line index out of range";
}  // namespace bitmap_text

// A 24-bit copy of any bitmap (no copy when the bitmap already is 24-bit).
PixelImage ConvertTo24(const PixelImage& source);

class TRow24Reader {
 public:
  // Throws EBitmapRowError for an empty bitmap.
  explicit TRow24Reader(const PixelImage& source);
  int Width() const { return image_->Width(); }
  int Height() const { return image_->Height(); }
  const std::uint8_t* Row(int y) const;  // throws for y outside 0..height-1

 private:
  PixelImage converted_;
  const PixelImage* image_;
};

class TDibWriter {
 public:
  // Works on `target` in 1, 4, 8 or 24 bits; throws "Invalid pixel format" otherwise.
  TDibWriter(PixelImage& target, int bits_per_pixel);
  // Row y of the picture (0 at the top). The copy is stored bottom-up, as DIBs are.
  std::uint8_t* Row(int y);
  // The colour table: the target palette as blue, green, red, 0, padded with zeros to
  // 2^bits entries (empty for 24 bits).
  const std::vector<std::uint8_t>& ColorTable() const { return color_table_; }
  // Writes the bits back into the target (keeping its palette).
  void Finish();

 private:
  PixelImage& target_;
  PixelImage dib_;
  std::vector<std::uint8_t> color_table_;
};

}  // namespace tessival::imaging
