#include "imaging/png_transparency.h"

#include <gtest/gtest.h>

#include "imaging/png_image.h"
#include "png_builder.h"

namespace tessival::imaging {
namespace {

using test::Bytes;
using test::Chunk;
using test::MakePng;
using test::Pattern;
using test::operator+;

TEST(PngTransparency, OnlyATransparencyChunkBeforeTheImageDataCounts) {
  const Bytes trns = Chunk("tRNS", {0, 1, 0, 2, 0, 3});
  const Bytes plte = Chunk("PLTE", {1, 2, 3, 4, 5, 6});
  EXPECT_TRUE(
      HasPngTransparency(MakePng(Pattern(2, 2, 8, 2), false, 0, Chunk("tEXt", {'k', 0}) + trns)));
  EXPECT_TRUE(HasPngTransparency(MakePng(Pattern(2, 2, 1, 3), false, 0, plte + trns)));
  EXPECT_FALSE(HasPngTransparency(MakePng(Pattern(2, 2, 8, 2), false, 0, {}, trns)));
  EXPECT_FALSE(HasPngTransparency(MakePng(Pattern(2, 2, 8, 0), false, 0, Chunk("tRNS", {0, 1}))));
  const Bytes file = MakePng(Pattern(2, 2, 8, 2), false, 0, trns);
  for (std::size_t cut = 0; cut < 40; ++cut) HasPngTransparency(std::span(file).first(cut));
}

TEST(PngTransparency, PaletteImageIsMaskedByTheColourOfEntryZero) {
  const test::Samples s = Pattern(6, 5, 2, 3);
  TPNGImage image;
  image.LoadFromStream(
      MakePng(s, false, 0, Chunk("PLTE", {9, 8, 7, 50, 60, 70, 1, 1, 1, 9, 8, 7}) + Chunk("tRNS", {0})));
  EXPECT_EQ(PngMaskColor(image), 0x090807u);
  const PixelImage mask = MakeColorMask(image.Bitmap(), PngMaskColor(image));
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) {
      const int v = s.At(x, y, 0);
      EXPECT_EQ(mask.IndexAt(x, y), v == 0 || v == 3 ? 1 : 0);  // entry 3 has entry 0's colour
    }
}

TEST(PngTransparency, RgbImageIsMaskedByItsTransparentColour) {
  test::Samples s{2, 1, 8, 2, {10, 20, 30, 40, 50, 60}};
  TPNGImage image;
  image.LoadFromStream(MakePng(s, false, 0, Chunk("tRNS", {0, 40, 0, 50, 0, 60})));
  EXPECT_EQ(PngMaskColor(image), 0x28323Cu);
  const PixelImage mask = MakeColorMask(image.Bitmap(), PngMaskColor(image));
  EXPECT_EQ(mask.IndexAt(0, 0), 0);
  EXPECT_EQ(mask.IndexAt(1, 0), 1);
}

}  // namespace
}  // namespace tessival::imaging
