#pragma once
// Reads Windows and OS/2 bitmap files: the 12-byte core header and the 40-byte header with
// its later extensions, 1, 4 and 8 bits with a colour table, 16, 24 and 32 bits (plain or
// with bit-field masks), and run-length compressed 4- and 8-bit pictures.
//
// Indexed pictures stay indexed with their colour table; 16-bit and 32-bit pictures become
// 24-bit, which is what the screen path keeps anyway.
#include <cstdint>
#include <span>
#include <stdexcept>

#include "imaging/pixel_image.h"

namespace tessival::imaging {

class EBmpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Throws EBmpError for anything it cannot read completely (and std::length_error for a
// size beyond kMaxImagePixels). The result is stored top-down.
PixelImage ReadBmp(std::span<const std::uint8_t> data);

}  // namespace tessival::imaging
