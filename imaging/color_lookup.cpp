#include "imaging/color_lookup.h"

#include <algorithm>

namespace tessival::imaging {

TFastColorLookup::TFastColorLookup(const Palette& palette)
    : palette_(palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(palette.size(), 256))),
      search_(palette_),
      inverse_(32768, -1) {
  // Each entry first claims the slot of its own colour, in index order.
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const PaletteEntry& e = palette_[i];
    const int key = (e.red >> 3) | ((e.green >> 3) << 5) | ((e.blue >> 3) << 10);
    if (inverse_[static_cast<std::size_t>(key)] < 0) inverse_[static_cast<std::size_t>(key)] = static_cast<std::int16_t>(i);
  }
}

}  // namespace tessival::imaging
