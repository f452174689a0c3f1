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
    const std::size_t key = Key(red, green, blue);
    int index = inverse_[key];
    if (index < 0) [[unlikely]]
      index = Learn(key, red, green, blue);
    const std::uint32_t color = slot_colors_[key];
    return {index, static_cast<std::uint8_t>(color), static_cast<std::uint8_t>(color >> 8),
            static_cast<std::uint8_t>(color >> 16)};
  }

 private:
  static std::size_t Key(int red, int green, int blue) {
    return static_cast<std::size_t>((red >> 3) | ((green >> 3) << 5) | ((blue >> 3) << 10));
  }
  // Fills an empty slot from the full search; returns the index.
  int Learn(std::size_t key, int red, int green, int blue);
  void Claim(std::size_t key, int index);

  Palette palette_;
  TPaletteSearch search_;
  std::vector<std::int16_t> inverse_;
  // The colour of each filled slot's entry (red + green × 256 + blue × 65536), kept beside
  // the slot: dithering waits for every answer before its next pixel, and reading the
  // colour by the key rather than by the index found in the slot saves one read in turn.
  std::vector<std::uint32_t> slot_colors_;
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
