#include "platform/palette.h"

#include <cstdlib>
#include <limits>

namespace tessival::platform {

TPalette::TPalette(std::vector<PaletteEntry> entries) : entries_(std::move(entries)) {
  if (entries_.size() > MaxPaletteEntries) entries_.resize(MaxPaletteEntries);
}

void TPalette::SetEntry(int index, PaletteEntry entry) {
  if (index >= 0 && index < Count()) entries_[static_cast<std::size_t>(index)] = entry;
}

TColor TPalette::ColorAt(int index) const {
  if (index < 0 || index >= Count()) return 0;
  const PaletteEntry& e = Entry(index);
  return RGB(e.red, e.green, e.blue);
}

int TPalette::NearestIndex(TColor color) const {
  const int r = static_cast<int>(GetRValue(color));
  const int g = static_cast<int>(GetGValue(color));
  const int b = static_cast<int>(GetBValue(color));
  int best = 0;
  int best_distance = std::numeric_limits<int>::max();
  for (int i = 0; i < Count(); ++i) {
    const PaletteEntry& e = Entry(i);
    const int distance = std::abs(e.red - r) + std::abs(e.green - g) + std::abs(e.blue - b);
    if (distance < best_distance) {
      best = i;
      best_distance = distance;
      if (distance == 0) break;
    }
  }
  return best;
}

const TPalette& SystemPalette() {
  // Entries 0..9 and 10..19 are the halves kept at both ends of a 256-entry hardware
  // palette (0..9 and 246..255).
  static const TPalette palette({
      {0x00, 0x00, 0x00, 0}, {0x80, 0x00, 0x00, 0}, {0x00, 0x80, 0x00, 0}, {0x80, 0x80, 0x00, 0},
      {0x00, 0x00, 0x80, 0}, {0x80, 0x00, 0x80, 0}, {0x00, 0x80, 0x80, 0}, {0xC0, 0xC0, 0xC0, 0},
      {0xC0, 0xDC, 0xC0, 0}, {0xA6, 0xCA, 0xF0, 0}, {0xFF, 0xFB, 0xF0, 0}, {0xA0, 0xA0, 0xA4, 0},
      {0x80, 0x80, 0x80, 0}, {0xFF, 0x00, 0x00, 0}, {0x00, 0xFF, 0x00, 0}, {0xFF, 0xFF, 0x00, 0},
      {0x00, 0x00, 0xFF, 0}, {0xFF, 0x00, 0xFF, 0}, {0x00, 0xFF, 0xFF, 0}, {0xFF, 0xFF, 0xFF, 0},
  });
  return palette;
}

const TPalette& MonochromePalette() {
  static const TPalette palette({{0, 0, 0, 0}, {0xFF, 0xFF, 0xFF, 0}});
  return palette;
}

}  // namespace tessival::platform
