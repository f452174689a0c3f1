#pragma once
// A logical palette: up to 256 colour entries in palette order (red, green, blue, flags).
// Palettes are plain values; a bitmap of 8 or fewer bits per pixel keeps one as its
// colour table, and a canvas selects one to map palette-relative colours on palette
// displays.
#include <cstdint>
#include <vector>

#include "platform/colors.h"

namespace tessival::platform {

struct PaletteEntry {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t flags = 0;  // PC_NOCOLLAPSE and friends; kept, not interpreted
  friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

constexpr std::uint8_t PC_NOCOLLAPSE = 0x04;
constexpr int MaxPaletteEntries = 256;

class TPalette {
 public:
  TPalette() = default;
  // Takes at most MaxPaletteEntries entries; the rest are dropped.
  explicit TPalette(std::vector<PaletteEntry> entries);

  int Count() const { return static_cast<int>(entries_.size()); }
  const PaletteEntry& Entry(int index) const { return entries_[static_cast<std::size_t>(index)]; }
  const std::vector<PaletteEntry>& Entries() const { return entries_; }
  void SetEntry(int index, PaletteEntry entry);
  // The entry as a plain colour value (black for an index outside the palette).
  TColor ColorAt(int index) const;
  // The entry closest to the colour (smallest sum of channel differences; the first one
  // wins on ties); 0 for an empty palette.
  int NearestIndex(TColor color) const;

  friend bool operator==(const TPalette&, const TPalette&) = default;

 private:
  std::vector<PaletteEntry> entries_;
};

// The platform's stock palette: the 20 static colours every palette display keeps (the
// 16 VGA colours and 4 extra greens, blues and greys at indexes 8..11).
const TPalette& SystemPalette();

// The two-colour palette of a monochrome bitmap: index 0 black, index 1 white.
const TPalette& MonochromePalette();

}  // namespace tessival::platform
