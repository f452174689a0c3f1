#pragma once
// The five PNG row filters, undone in place.
#include <cstddef>
#include <cstdint>

namespace tessival::imaging {

// `previous` is null for the first row of the picture or of an interlace pass (a row of
// zeros). `bpp` is the byte distance to the corresponding byte of the pixel on the left.
// Throws EPNGImageException for a filter type above 4.
void UnfilterRow(std::uint8_t type, std::uint8_t* row, const std::uint8_t* previous, std::size_t length,
                 std::size_t bpp);

// The Paeth predictor of left a, up b and upper-left c.
inline std::uint8_t PaethPredictor(int a, int b, int c) {
  const int pa = b > c ? b - c : c - b;                              // |p - a| with p = a + b - c
  const int pb = a > c ? a - c : c - a;                              // |p - b|
  const int pc = a + b - 2 * c < 0 ? 2 * c - a - b : a + b - 2 * c;  // |p - c|
  return static_cast<std::uint8_t>((pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c));
}

}  // namespace tessival::imaging
