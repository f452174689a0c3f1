#include "imaging/palette_search.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace tessival::imaging {
namespace {

// The search as plainly as it can be written: smallest |dr| + |dg| + |db| over the first
// 256 entries, the first one found among equals.
int PlainNearest(const Palette& palette, int red, int green, int blue) {
  int best = 0;
  int best_distance = 1 << 30;
  for (std::size_t i = 0; i < palette.size() && i < 256; ++i) {
    const PaletteEntry& e = palette[i];
    const int distance = std::abs(red - e.red) + std::abs(green - e.green) + std::abs(blue - e.blue);
    if (distance < best_distance) {
      best_distance = distance;
      best = static_cast<int>(i);
    }
  }
  return best;
}

TEST(PaletteSearch, AgreesWithThePlainSearchOnRandomPalettesTiesIncluded) {
  // Coarse palettes (channels of 0, 85, 170 or 255, colours of a few levels too) make many
  // entries equally near, in different lanes and groups of the vector search; fine ones
  // test the distances. Sizes around the group width of eight and past 256.
  std::mt19937 random(20261207);
  for (const int size : {1, 2, 7, 8, 9, 17, 100, 255, 256, 300}) {
    for (const bool coarse : {true, false}) {
      std::uniform_int_distribution<int> level(0, coarse ? 3 : 255);
      const auto channel = [&] {
        return static_cast<std::uint8_t>(coarse ? 85 * level(random) : level(random));
      };
      Palette palette(static_cast<std::size_t>(size));
      for (PaletteEntry& e : palette) e = {channel(), channel(), channel(), 0};
      const TPaletteSearch search(palette);
      std::uniform_int_distribution<int> step(0, 5), any(0, 255);
      for (int n = 0; n < 3000; ++n) {
        const bool on_grid = n % 2 == 0;
        const int r = on_grid ? 51 * step(random) : any(random);
        const int g = on_grid ? 51 * step(random) : any(random);
        const int b = on_grid ? 51 * step(random) : any(random);
        ASSERT_EQ(search.Nearest(r, g, b), PlainNearest(palette, r, g, b))
            << "size " << size << (coarse ? " coarse" : " fine") << " colour " << r << "," << g << ","
            << b;
      }
    }
  }
}

TEST(PaletteSearch, EqualDistancesInDifferentLanesGoToTheLowerIndex) {
  // Entries 3 and 10 are both 10 away from black, 10 in lane 2 of the second group, 3 in
  // lane 3 of the first; entry 21 is as near, later still.
  Palette palette(24, PaletteEntry{200, 200, 200, 0});
  palette[10] = {10, 0, 0, 0};
  palette[3] = {0, 0, 10, 0};
  palette[21] = {0, 10, 0, 0};
  EXPECT_EQ(TPaletteSearch(palette).Nearest(0, 0, 0), 3);
  EXPECT_EQ(TPaletteSearch(Palette{}).Nearest(9, 9, 9), 0);
}

}  // namespace
}  // namespace tessival::imaging
