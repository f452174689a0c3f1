#include "imaging/bmp_reader.h"

#include <gtest/gtest.h>

#include "bmp_builder.h"

namespace tessival::imaging {
namespace {

using test::BmpShape;
using test::MakeBmp;

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// The same 3 x 2 picture in every depth: top row red, green, blue; bottom row white, red,
// green. Stored bottom-up, so the bottom row comes first.
void ExpectPicture(const PixelImage& image) {
  ASSERT_EQ(image.Width(), 3);
  ASSERT_EQ(image.Height(), 2);
  EXPECT_EQ(image.ColorAt(0, 0), kRed);
  EXPECT_EQ(image.ColorAt(1, 0), kGreen);
  EXPECT_EQ(image.ColorAt(2, 0), kBlue);
  EXPECT_EQ(image.ColorAt(0, 1), kWhite);
  EXPECT_EQ(image.ColorAt(1, 1), kRed);
  EXPECT_EQ(image.ColorAt(2, 1), kGreen);
}

const std::vector<std::uint32_t> kTable = {kWhite, kRed, kGreen, kBlue};

TEST(BmpReader, EveryDepthGivesTheKnownPixels) {
  struct Case {
    const char* name;
    BmpShape shape;
  };
  const Case cases[] = {
      {"4 bits", {3, 2, 4, 0, kTable, {}, {0x01, 0x20, 0, 0, 0x12, 0x30, 0, 0}}},
      {"8 bits", {3, 2, 8, 0, kTable, {}, {0, 1, 2, 0, 1, 2, 3, 0}}},
      {"8 bits top-down", {3, -2, 8, 0, kTable, {}, {1, 2, 3, 0, 0, 1, 2, 0}}},
      {"8 bits, core header", {3, 2, 8, 0, kTable, {}, {0, 1, 2, 0, 1, 2, 3, 0}, true}},
      {"8 bits, offset 0", {3, 2, 8, 0, kTable, {}, {0, 1, 2, 0, 1, 2, 3, 0}, false, true}},
      {"24 bits", {3, 2, 24, 0, {}, {}, {255, 255, 255, 0, 0,   255, 0,   255, 0, 0, 0, 0,
                                         0,   0,   255, 0, 255, 0,   255, 0,   0, 0, 0, 0}}},
      // 5-5-5: white 0x7FFF, red 0x7C00, green 0x03E0, blue 0x001F
      {"16 bits",
       {3,
        2,
        16,
        0,
        {},
        {},
        {0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03, 0, 0, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0}}},
      // 5-6-5 through bit fields: white 0xFFFF, red 0xF800, green 0x07E0, blue 0x001F
      {"16 bits 5-6-5",
       {3,
        2,
        16,
        3,
        {},
        {0xF800, 0x07E0, 0x001F},
        {0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07, 0, 0, 0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0, 0}}},
      {"32 bits", {3, 2, 32, 0, {}, {}, {255, 255, 255, 0, 0, 0,   255, 0, 0,   255, 0, 0,
                                         0,   0,   255, 0, 0, 255, 0,   0, 255, 0,   0, 0}}},
      // Run-length: the bottom row as a literal of three (padded to an even count), end of
      // line; the top row as runs; end of picture.
      {"RLE8", {3, 2, 8, 1, kTable, {}, {0, 3, 0, 1, 2, 0, 0, 0, 1, 1, 1, 2, 1, 3, 0, 1}}},
      {"RLE4", {3, 2, 4, 2, kTable, {}, {0, 3, 0x01, 0x20, 0, 0, 1, 0x11, 2, 0x23, 0, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectPicture(ReadBmp(MakeBmp(c.shape)));
  }
}

TEST(BmpReader, OneBitPicturesKeepTheirTable) {
  // 10 pixels wide: two bytes per row, padded to four.
  const BmpShape shape{10, 1, 1, 0, {0x000000, 0xFFFFFF}, {}, {0b10100000, 0b01000000, 0, 0}};
  const PixelImage image = ReadBmp(MakeBmp(shape));
  EXPECT_EQ(image.BitsPerPixel(), 1);
  EXPECT_EQ(image.IndexAt(0, 0), 1);
  EXPECT_EQ(image.IndexAt(1, 0), 0);
  EXPECT_EQ(image.IndexAt(2, 0), 1);
  EXPECT_EQ(image.IndexAt(9, 0), 1);
  EXPECT_EQ(image.ColorAt(0, 0), kWhite);
}

TEST(BmpReader, BrokenFilesFailCleanly) {
  const test::BmpBytes good = MakeBmp({3, 2, 24, 0, {}, {}, std::vector<std::uint8_t>(24, 7)});
  // Every cut of a good file: an error or a picture, never a read past the end.
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    try {
      ReadBmp(std::span(good).first(cut));
    } catch (const EBmpError&) {
    }
  }
  const BmpShape bad[] = {
      {0, 2, 24, 0, {}, {}, {}},                             // no width
      {3, 2, 7, 0, {}, {}, std::vector<std::uint8_t>(24)},   // no such depth
      {3, 2, 24, 1, {}, {}, std::vector<std::uint8_t>(24)},  // run-length 24 bits
      {70000, 70000, 24, 0, {}, {}, {}},                     // far too big
  };
  for (const BmpShape& shape : bad) EXPECT_ANY_THROW(ReadBmp(MakeBmp(shape)));
}

TEST(BmpReader, RunsPastTheEdgesAreCutOff) {
  // A run longer than the row and a move below the picture: drawn as far as it fits.
  const BmpShape shape{3, 2, 8, 1, kTable, {}, {9, 1, 0, 2, 5, 9, 7, 2, 0, 1}};
  const PixelImage image = ReadBmp(MakeBmp(shape));
  EXPECT_EQ(image.ColorAt(0, 1), kRed);
  EXPECT_EQ(image.ColorAt(2, 1), kRed);
  EXPECT_EQ(image.ColorAt(0, 0), kWhite);  // never reached: index 0
}

}  // namespace
}  // namespace tessival::imaging
