#pragma once
// JPEG pictures through the JPEG library's classic decompression interface: 24-bit pixels
// for true-colour displays, or 8-bit pixels with a 256-colour table the library quantises
// to for palette displays.
#include <cstdint>
#include <span>
#include <stdexcept>

#include "imaging/pixel_image.h"
#include "platform/bitmap.h"

namespace tessival::imaging {

class EJpegError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class TJpegOutput { kTrueColor24, kPalette8 };

// Throws EJpegError for data the library refuses (std::length_error beyond
// kMaxImagePixels). The result is stored top-down.
PixelImage ReadJpeg(std::span<const std::uint8_t> data, TJpegOutput output = TJpegOutput::kTrueColor24);
// The same straight into a platform bitmap (rows top-down, as the platform keeps them).
platform::TBitmap ReadJpegBitmap(std::span<const std::uint8_t> data,
                                 TJpegOutput output = TJpegOutput::kTrueColor24);

}  // namespace tessival::imaging
