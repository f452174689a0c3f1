#pragma once
// The pixel half of the PNG decoder: inflating the image data, undoing the row filters,
// Adam7 and converting the samples into the bitmap's format.
#include <cstdint>
#include <functional>
#include <span>

#include "imaging/pixel_image.h"

namespace tessival::imaging {

struct PngLayout {
  int width = 0;
  int height = 0;
  int bit_depth = 0;
  int color_type = 0;
  bool interlaced = false;
  int channels = 1;
  int bitmap_bits = 8;
  std::size_t filter_bpp = 1;  // bytes per complete pixel, at least 1
};

// Validates the header values. Throws EPNGImageException.
PngLayout MakePngLayout(std::uint32_t width, std::uint32_t height, int bit_depth, int color_type,
                        int interlace);

// Bytes of one filtered row of `width` pixels (without the filter-type byte).
std::size_t PngRowBytes(const PngLayout& layout, std::uint32_t width);

// (percent, first row, row after the last) of the area just finished.
using PngRowProgress = std::function<void(int percent, int top, int bottom)>;

// `bitmap` is already sized for the layout. `gamma` is a 256-byte forward table or null.
// With `expand` (a palette with an entry for every possible index), indexed rows are
// written through it into a 24-bit `bitmap` instead.
void DecodePngPixels(const PngLayout& layout, std::span<const std::uint8_t> zlib_data,
                     const std::uint8_t* gamma, PixelImage& bitmap, const PngRowProgress& progress,
                     const Palette* expand = nullptr);

}  // namespace tessival::imaging
