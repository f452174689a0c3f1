#pragma once
// The full search behind the fast colour lookup: the palette entry nearest to a colour by
// the sum of the channel differences |dr| + |dg| + |db|, the lowest index among equals.
// It runs once for every 15-bit colour the lookup has not seen yet, up to 32768 times per
// palette, so it compares eight entries at a time where the processor allows.
#include <array>
#include <cstdint>

#include "imaging/pixel_image.h"

namespace tessival::imaging {

class TPaletteSearch {
 public:
  // Searches the first 256 entries of `palette`.
  explicit TPaletteSearch(const Palette& palette);
  // 0 for an empty palette.
  int Nearest(int red, int green, int blue) const;

 private:
  int count_;
  // One row per channel, padded to whole groups of eight with entries farther from every
  // colour than any real entry can be.
  alignas(16) std::array<std::int16_t, 256> reds_;
  alignas(16) std::array<std::int16_t, 256> greens_;
  alignas(16) std::array<std::int16_t, 256> blues_;
};

}  // namespace tessival::imaging
