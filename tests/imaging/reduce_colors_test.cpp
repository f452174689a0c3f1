#include "imaging/reduce_colors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "imaging/bitmap_rows.h"
#include "imaging/color_lookup.h"
#include "imaging/octree_quantizer.h"
#include "imaging/standard_palettes.h"

namespace tessival::imaging {
namespace {

PixelImage Rgb24(int w, int h, auto colour_of) {
  PixelImage image(w, h, 24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const std::uint32_t c = colour_of(x, y);
      std::uint8_t* p = image.Row(y) + 3 * x;
      p[0] = c & 0xFF;
      p[1] = (c >> 8) & 0xFF;
      p[2] = (c >> 16) & 0xFF;
    }
  return image;
}

std::uint32_t Rgb(int r, int g, int b) {
  return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

int Channel(std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

TEST(ColorLookup, CubeLevelsSplitBetween47And48) {
  EXPECT_EQ(TCubeColorLookup::Level(47), 0);
  EXPECT_EQ(TCubeColorLookup::Level(48), 1);
  EXPECT_EQ(TCubeColorLookup::Level(255), 5);
  const LookupResult r = TCubeColorLookup::Find(255, 100, 0);
  EXPECT_EQ(r.index, 36 * 5 + 6 * 2);
  EXPECT_EQ(CubePalette()[static_cast<std::size_t>(r.index)], (PaletteEntry{r.red, r.green, r.blue, 0}));
}

TEST(ColorLookup, FastLookupAnswersPerFifteenBitKey) {
  TFastColorLookup lookup(ProgramPalette());
  for (int base : {0x40, 0x88, 0xF0}) {
    const int first = lookup.Find(base, 0x20, 0x60).index;
    for (int low = 1; low < 8; ++low)
      EXPECT_EQ(lookup.Find(base + low, 0x20 + low, 0x60 + (7 - low)).index, first);
  }
}

TEST(ColorLookup, EntriesClaimTheirOwnSlotFirstAndTiesGoToTheLowerIndex) {
  // Entry 1 sits in the same 15-bit slot as entry 0 and is never chosen for it.
  const Palette palette = {{10, 10, 10, 0}, {12, 12, 12, 0}, {100, 100, 100, 0}, {100, 100, 100, 0}};
  TFastColorLookup lookup(palette);
  EXPECT_EQ(lookup.Find(12, 12, 12).index, 0);
  EXPECT_EQ(lookup.Find(90, 90, 90).index, 2);
}

TEST(ColorLookup, FastLookupAnswersWithTheColourOfTheIndexItGives) {
  // The colour comes from a table beside the slots; it must stay the entry's own, both for
  // slots claimed by entries and for slots filled by the search.
  const Palette palette = {
      {0, 0, 0, 0}, {255, 0, 0, 0}, {250, 2, 3, 0}, {0, 128, 255, 0}, {90, 90, 90, 0}};
  TFastColorLookup lookup(palette);
  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 17)
      for (int b = 0; b < 256; b += 51) {
        const LookupResult found = lookup.Find(r, g, b);
        const PaletteEntry& e = palette[static_cast<std::size_t>(found.index)];
        ASSERT_EQ((PaletteEntry{found.red, found.green, found.blue, 0}),
                  (PaletteEntry{e.red, e.green, e.blue, 0}))
            << r << "," << g << "," << b;
      }
  EXPECT_EQ(lookup.Find(252, 1, 1).index, 1);  // entry 2 shares entry 1's slot
}

TEST(ReduceColors, ExactPaletteColoursSpreadNoError) {
  // Pure red and the program palette's other exact colours map to themselves and stay put.
  // Entries that share their 15-bit slot with an earlier entry (greys 170 and 175) are
  // left out: the slot answers with the earlier one.
  const Palette& program = ProgramPalette();
  std::vector<PaletteEntry> distinct;
  std::set<int> keys;
  for (const PaletteEntry& e : program)
    if (keys.insert((e.red >> 3) | (e.green >> 3) << 5 | (e.blue >> 3) << 10).second)
      distinct.push_back(e);
  const auto colour_at = [&](int x, int y) {
    const PaletteEntry& e = distinct[static_cast<std::size_t>(x * 7 + y * 13) % distinct.size()];
    return Rgb(e.red, e.green, e.blue);
  };
  for (TDitherMode mode : {TDitherMode::FloydSteinberg, TDitherMode::Nearest}) {
    const PixelImage source = Rgb24(23, 9, colour_at);
    const PixelImage reduced = ReduceColors(source, TPaletteKind::ProgramCopy, mode);
    ASSERT_EQ(reduced.BitsPerPixel(), 8);
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 23; ++x) ASSERT_EQ(reduced.ColorAt(x, y), colour_at(x, y)) << x << "," << y;
  }
  const PixelImage red = ReduceColors(Rgb24(5, 5, [](int, int) { return Rgb(255, 0, 0); }),
                                      TPaletteKind::ProgramCopy, TDitherMode::FloydSteinberg);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(red.ColorAt(x, y), Rgb(255, 0, 0));
}

TEST(ReduceColors, DitheringKeepsTheAverageOfAGradient) {
  const int w = 256, h = 64;
  const PixelImage source = Rgb24(w, h, [](int x, int y) {
    return Rgb(20 + x * 215 / 255, 20 + 3 * y, 235 - x * 215 / 255);
  });
  const PixelImage dithered = ReduceColors(source, TPaletteKind::Cube, TDitherMode::FloydSteinberg);
  const PixelImage nearest = ReduceColors(source, TPaletteKind::Cube, TDitherMode::Nearest);
  // (The gradient keeps away from 0 and 255, where clamping loses error by design.)
  // Mean error per 16 × 16 block: dithering keeps each block's average close, the
  // nearest-colour reduction shows its 51-step bands.
  double worst_dithered = 0, worst_nearest = 0;
  for (int by = 0; by < h; by += 16)
    for (int bx = 0; bx < w; bx += 16)
      for (int shift : {0, 8, 16}) {
        double sum_source = 0, sum_dithered = 0, sum_nearest = 0;
        for (int y = by; y < by + 16; ++y)
          for (int x = bx; x < bx + 16; ++x) {
            sum_source += Channel(source.ColorAt(x, y), shift);
            sum_dithered += Channel(dithered.ColorAt(x, y), shift);
            sum_nearest += Channel(nearest.ColorAt(x, y), shift);
          }
        worst_dithered = std::max(worst_dithered, std::abs(sum_source - sum_dithered) / 256);
        worst_nearest = std::max(worst_nearest, std::abs(sum_source - sum_nearest) / 256);
      }
  EXPECT_LT(worst_dithered, 3.0);
  EXPECT_GT(worst_nearest, 10.0);
}

TEST(ReduceColors, NarrowAndFlatPicturesDitherInsideTheirRows) {
  for (const auto& [w, h] : {std::pair{1, 40}, std::pair{2, 3}, std::pair{40, 1}}) {
    const PixelImage source = Rgb24(w, h, [](int x, int y) { return Rgb(25 + x, 130, 200 - y); });
    const PixelImage reduced = ReduceColors(source, TPaletteKind::SystemDefault,
                                            TDitherMode::FloydSteinberg);
    EXPECT_EQ(reduced.Width(), w);
    EXPECT_EQ(reduced.Colors().size(), 20u);
  }
}

TEST(ReduceColors, KindNoneCopiesAsTrueColourAndEmptyFails) {
  PixelImage indexed(3, 2, 4);
  indexed.Colors() = {{1, 2, 3, 0}, {200, 100, 50, 0}};
  indexed.SetIndex(2, 1, 1);
  const PixelImage copy = ReduceColors(indexed, TPaletteKind::None, TDitherMode::Nearest);
  EXPECT_EQ(copy.BitsPerPixel(), 24);
  EXPECT_EQ(copy.ColorAt(2, 1), Rgb(200, 100, 50));
  EXPECT_EQ(copy.ColorAt(0, 0), Rgb(1, 2, 3));
  EXPECT_THROW(ReduceColors(PixelImage(), TPaletteKind::Cube, TDitherMode::Nearest), EBitmapRowError);
}

TEST(ReduceColors, ForDisplayPicksThePaletteByDisplayClass) {
  const PixelImage photo = Rgb24(8, 8, [](int x, int y) { return Rgb(x * 30, y * 30, 90); });
  EXPECT_EQ(ReduceForDisplay(photo, TDisplayClass::Bits4).Colors(), SystemDefaultPalette());
  EXPECT_EQ(ReduceForDisplay(photo, TDisplayClass::Bits8).Colors(), ProgramPalette());
  PixelImage indexed(4, 4, 8);
  indexed.Colors() = {{9, 9, 9, 0}};
  EXPECT_EQ(ReduceForDisplay(indexed, TDisplayClass::Bits8).Colors(), indexed.Colors());
  EXPECT_TRUE(ReduceForDisplay(PixelImage(), TDisplayClass::Bits8).Empty());
}

TEST(OptimizedPalette, ReservedSystemColoursFrameAtMost236PictureColours) {
  std::uint32_t state = 7;
  const PixelImage photo = Rgb24(97, 61, [&](int, int) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  });
  const Palette palette = CreateOptimizedPalette(photo, 256, 8, true);
  ASSERT_EQ(palette.size(), 256u);
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(palette[i], SystemDefaultPalette()[i]);
    EXPECT_EQ(palette[246 + i], SystemDefaultPalette()[10 + i]);
  }
  TOctreeQuantizer quantizer(236, 8);
  for (int y = 0; y < 61; ++y)
    for (int x = 0; x < 97; ++x) {
      const std::uint32_t c = photo.ColorAt(x, y);
      quantizer.Add(Channel(c, 16), Channel(c, 8), Channel(c, 0));
    }
  EXPECT_LE(quantizer.Colors().size(), 236u);
  EXPECT_GT(quantizer.Colors().size(), 200u);
}

TEST(OptimizedPalette, FewColoursAreFoundExactly) {
  const std::uint32_t colours[] = {Rgb(255, 0, 0), Rgb(0, 0, 255), Rgb(10, 200, 30)};
  const PixelImage image = Rgb24(9, 4, [&](int x, int) { return colours[x % 3]; });
  const Palette palette = CreateOptimizedPalette(image, 8, 8, false);
  ASSERT_EQ(palette.size(), 8u);
  std::set<std::uint32_t> found;
  for (const PaletteEntry& e : palette) found.insert(Rgb(e.red, e.green, e.blue));
  for (std::uint32_t c : colours) EXPECT_TRUE(found.count(c)) << std::hex << c;
}

TEST(BitmapRows, WriterStoresBottomUpWithATableInBlueGreenRedOrder) {
  PixelImage target(2, 3, 8);
  target.Colors() = {{10, 20, 30, 4}};
  TDibWriter writer(target, 8);
  ASSERT_EQ(writer.ColorTable().size(), 1024u);
  EXPECT_EQ(std::vector<std::uint8_t>(writer.ColorTable().begin(), writer.ColorTable().begin() + 8),
            (std::vector<std::uint8_t>{30, 20, 10, 0, 0, 0, 0, 0}));
  writer.Row(0)[0] = 7;
  EXPECT_THROW(writer.Row(3), EBitmapRowError);
  EXPECT_THROW(TDibWriter(target, 16), EBitmapRowError);
  writer.Finish();
  EXPECT_EQ(target.Order(), RowOrder::BottomUp);
  EXPECT_EQ(target.Bits()[2 * target.Stride()], 7);  // the top row is stored last
  EXPECT_EQ(target.IndexAt(0, 0), 7);
  EXPECT_EQ(target.Colors().size(), 1u);
}

}  // namespace
}  // namespace tessival::imaging
