#pragma once
// What our reduction is measured against, for the colour error only: other colour lookups
// (run through our Floyd–Steinberg engine they show how much of the error the lookup
// makes) and a textbook Floyd–Steinberg with exact fractions (how much the engine's integer
// arithmetic makes).
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "imaging/color_lookup.h"

namespace tessival::bench {

// The 6 × 6 × 6 cube with each channel rounded to the nearest level, (c + 25) div 51,
// where the prescribed lookup takes (c + 3) div 51.
struct NearestLevelCubeLookup {
  static imaging::LookupResult Find(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    const int r = (red + 25) / 51, g = (green + 25) / 51, b = (blue + 25) / 51;
    return {b + 6 * g + 36 * r, static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
            static_cast<std::uint8_t>(51 * b)};
  }
};

enum class Distance { SumOfDifferences, Euclidean };

// The nearest entry for every 24-bit colour itself (no 15-bit slots), remembered per colour.
class ExactNearestLookup {
 public:
  ExactNearestLookup(const imaging::Palette& palette, Distance distance)
      : palette_(palette), distance_(distance), known_(std::size_t{1} << 24, -1) {}
  imaging::LookupResult Find(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    std::int16_t& index = known_[(std::size_t{red} << 16) | (std::size_t{green} << 8) | blue];
    if (index < 0) index = static_cast<std::int16_t>(Search(red, green, blue));
    const imaging::PaletteEntry& e = palette_[static_cast<std::size_t>(index)];
    return {index, e.red, e.green, e.blue};
  }

 private:
  int Search(int red, int green, int blue) const {
    int best = 0;
    int best_distance = 1 << 30;
    for (std::size_t i = 0; i < palette_.size(); ++i) {
      const int dr = red - palette_[i].red, dg = green - palette_[i].green, db = blue - palette_[i].blue;
      const int distance = distance_ == Distance::Euclidean ? dr * dr + dg * dg + db * db
                                                            : std::abs(dr) + std::abs(dg) + std::abs(db);
      if (distance < best_distance) {
        best_distance = distance;
        best = static_cast<int>(i);
      }
    }
    return best;
  }

  imaging::Palette palette_;
  Distance distance_;
  std::vector<std::int16_t> known_;
};

// Floyd–Steinberg with the errors kept as exact fractions: serpentine, left to right on the
// first row, 7/16 ahead, 3/16 behind below, 5/16 below, 1/16 ahead below; each channel is
// clamped to 0..255 before the lookup, as in our engine. The result is bottom-up like ours.
template <class Lookup>
imaging::PixelImage TextbookFloydSteinberg(const imaging::PixelImage& photo, imaging::Palette palette,
                                           Lookup& lookup) {
  const int width = photo.Width();
  imaging::PixelImage result(width, photo.Height(), 8, imaging::RowOrder::BottomUp);
  result.Colors() = std::move(palette);
  // Errors of this row and the next, one entry of padding on each side.
  std::vector<std::array<float, 3>> here(static_cast<std::size_t>(width) + 2), below(here.size());
  for (int y = 0; y < photo.Height(); ++y) {
    const int direction = y % 2 == 0 ? 1 : -1;
    std::fill(below.begin(), below.end(), std::array<float, 3>{});
    for (int i = 0; i < width; ++i) {
      const int x = direction > 0 ? i : width - 1 - i;
      const auto at = static_cast<std::size_t>(x + 1);
      const std::uint32_t colour = photo.ColorAt(x, y);
      std::array<std::uint8_t, 3> value{};
      for (int c = 0; c < 3; ++c) {
        const float wanted = static_cast<float>((colour >> (16 - 8 * c)) & 0xFF) +
                             here[at][static_cast<std::size_t>(c)];
        value[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(
            std::clamp(std::lround(wanted), 0L, 255L));
      }
      const imaging::LookupResult chosen = lookup.Find(value[0], value[1], value[2]);
      const std::array<int, 3> got = {chosen.red, chosen.green, chosen.blue};
      for (std::size_t c = 0; c < 3; ++c) {
        const float wanted = static_cast<float>((colour >> (16 - 8 * c)) & 0xFF) + here[at][c];
        const float d = std::clamp(wanted, 0.0f, 255.0f) - static_cast<float>(got[c]);
        here[at + direction][c] += d * 7 / 16;
        below[at - direction][c] += d * 3 / 16;
        below[at][c] += d * 5 / 16;
        below[at + direction][c] += d / 16;
      }
      result.SetIndex(x, y, chosen.index);
    }
    std::swap(here, below);
  }
  return result;
}

}  // namespace tessival::bench
