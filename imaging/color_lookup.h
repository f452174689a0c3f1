#pragma once
// Colour lookups: from a red, green, blue triple to a palette index and the colour that
// index stands for. The dither engines are templates over the lookup so the per-pixel
// call is inlined; TColorLookup is the common shape.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imaging/palette_search.h"
#include "imaging/pixel_image.h"

namespace tessival::imaging {

struct LookupResult {
  int index;
  std::uint8_t red, green, blue;
};

class TColorLookup {
 public:
  virtual ~TColorLookup() = default;
  virtual int Colors() const = 0;
  virtual LookupResult Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue) = 0;
};

// Any palette of up to 256 entries. An inverse table with one slot per 15-bit colour
// (5 bits a channel) remembers the answer, so the full search runs at most once per slot.
class TFastColorLookup final : public TColorLookup {
 public:
  explicit TFastColorLookup(const Palette& palette);
  int Colors() const override { return static_cast<int>(palette_.size()); }
  LookupResult Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue) override {
    return Find(red, green, blue);
  }
  LookupResult Find(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const int key = (red >> 3) | ((green >> 3) << 5) | ((blue >> 3) << 10);
    std::int16_t index = inverse_[static_cast<std::size_t>(key)];
    if (index < 0) index = inverse_[static_cast<std::size_t>(key)] = static_cast<std::int16_t>(search_.Nearest(red, green, blue));
    const PaletteEntry& e = palette_[static_cast<std::size_t>(index)];
    return {index, e.red, e.green, e.blue};
  }

 private:
  Palette palette_;
  TPaletteSearch search_;
  std::vector<std::int16_t> inverse_;
};

// The 6 × 6 × 6 cube of CubePalette(), computed without a table.
class TCubeColorLookup final : public TColorLookup {
 public:
  int Colors() const override { return 216; }
  LookupResult Lookup(std::uint8_t red, std::uint8_t green, std::uint8_t blue) override {
    return Find(red, green, blue);
  }
  static LookupResult Find(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const int r = Level(red), g = Level(green), b = Level(blue);
    return {b + 6 * g + 36 * r, static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
            static_cast<std::uint8_t>(51 * b)};
  }
  static int Level(int component) { return (component + 3) / 51; }
};

}  // namespace tessival::imaging
