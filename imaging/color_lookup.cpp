#include "imaging/color_lookup.h"

#include <algorithm>

namespace tessival::imaging {

TFastColorLookup::TFastColorLookup(const Palette& palette)
    : palette_(palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(
                                                      std::min<std::size_t>(palette.size(), 256))),
      search_(palette_),
      inverse_(32768, -1),
      slot_colors_(32768, 0) {
  // Each entry first claims the slot of its own colour, in index order.
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const PaletteEntry& e = palette_[i];
    const std::size_t key = Key(e.red, e.green, e.blue);
    if (inverse_[key] < 0) Claim(key, static_cast<int>(i));
  }
}

int TFastColorLookup::Learn(std::size_t key, int red, int green, int blue) {
  Claim(key, search_.Nearest(red, green, blue));
  return inverse_[key];
}

void TFastColorLookup::Claim(std::size_t key, int index) {
  const PaletteEntry& e = palette_[static_cast<std::size_t>(index)];
  inverse_[key] = static_cast<std::int16_t>(index);
  slot_colors_[key] = e.red | (std::uint32_t{e.green} << 8) | (std::uint32_t{e.blue} << 16);
}

}  // namespace tessival::imaging
