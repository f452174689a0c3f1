#pragma once
// The decoders' own pixel buffer: what a decoded picture, a strip, a mask or a reduced
// bitmap is made of before the platform's bitmap type takes it over.
//
// Layout, chosen so that binding it to a device-independent bitmap is a copy of `bits`:
//   - `bits_per_pixel` is 1, 4, 8, 24 or 32; 24-bit pixels are blue, green, red bytes,
//     32-bit pixels blue, green, red, 0.
//   - Sub-byte pixels are packed most significant bits first.
//   - Every stored row is `stride` bytes, a multiple of 4 (the DIB row padding).
//   - `row_order` says where picture row y lives: TopDown stores it at position y,
//     BottomUp (the classic DIB order) at position height - 1 - y. Row(y) hides the
//     difference; callers always speak of picture rows with 0 at the top.
//   - `palette` holds up to 256 entries for formats of 8 bits or fewer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <vector>

#include "imaging/decode_budget.h"
#include "platform/palette.h"

namespace tessival::imaging {

// The platform's palette entry, so tables pass between the two sides as they are.
using PaletteEntry = platform::PaletteEntry;

// PC_NOCOLLAPSE: the entry must get its own slot when the palette is realised.
constexpr std::uint8_t kPaletteNoCollapse = platform::PC_NOCOLLAPSE;

using Palette = std::vector<PaletteEntry>;

enum class RowOrder { TopDown, BottomUp };

class PixelImage {
 public:
  PixelImage() = default;
  // Throws std::length_error for a size beyond kMaxImagePixels or an unknown bit count.
  PixelImage(int width, int height, int bits_per_pixel, RowOrder order = RowOrder::TopDown);
  PixelImage(const PixelImage& other);
  PixelImage& operator=(const PixelImage& other);
  // A moved-from image is empty.
  PixelImage(PixelImage&& other) noexcept { Swap(other); }
  PixelImage& operator=(PixelImage&& other) noexcept {
    PixelImage taken(std::move(other));
    Swap(taken);
    return *this;
  }

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const { return bits_per_pixel_; }
  std::size_t Stride() const { return stride_; }
  RowOrder Order() const { return order_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }

  std::uint8_t* Row(int y) { return bits_.get() + StoredRow(y) * stride_; }
  const std::uint8_t* Row(int y) const { return bits_.get() + StoredRow(y) * stride_; }
  std::span<std::uint8_t> Bits() { return {bits_.get(), size_}; }
  std::span<const std::uint8_t> Bits() const { return {bits_.get(), size_}; }

  Palette& Colors() { return palette_; }
  const Palette& Colors() const { return palette_; }

  // Index of the pixel (formats of 8 bits or fewer).
  int IndexAt(int x, int y) const;
  void SetIndex(int x, int y, int index);
  // The pixel as 0x00RRGGBB, through the palette for indexed formats.
  std::uint32_t ColorAt(int x, int y) const;

  static std::size_t StrideFor(int width, int bits_per_pixel);

 private:
  void Swap(PixelImage& other) noexcept;
  std::size_t StoredRow(int y) const {
    return order_ == RowOrder::TopDown ? static_cast<std::size_t>(y)
                                       : static_cast<std::size_t>(height_ - 1 - y);
  }

  int width_ = 0;
  int height_ = 0;
  int bits_per_pixel_ = 24;
  std::size_t stride_ = 0;
  RowOrder order_ = RowOrder::TopDown;
  // Zeroed by calloc: large buffers come as fresh pages the system zeroes on first touch,
  // so the parts of a strip no frame covers cost nothing.
  struct Free {
    void operator()(std::uint8_t* p) const { std::free(p); }
  };
  std::unique_ptr<std::uint8_t[], Free> bits_;
  std::size_t size_ = 0;
  Palette palette_;
};

// Throws std::length_error when width x height is negative or exceeds kMaxImagePixels.
// PixelImage also refuses a buffer beyond kMaxImageBytes.
void CheckImageSize(std::int64_t width, std::int64_t height);

}  // namespace tessival::imaging
