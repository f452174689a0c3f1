#include "imaging/png_image.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "imaging/png_chunk_classes.h"
#include "imaging/png_error.h"
#include "png_builder.h"

namespace tessival::imaging {
namespace {

using test::Append;
using test::Bytes;
using test::Chunk;
using test::MakePng;
using test::Pattern;
using test::Samples;
using test::operator+;

constexpr const char* kPrefix = "Portable Network Graphics format handler error\r\n\r\n";

std::uint32_t Rgb(int r, int g, int b) {
  return (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | std::uint32_t(b);
}

// A palette whose entry i is clearly distinct from every other.
Bytes PaletteData(int entries) {
  Bytes d;
  for (int i = 0; i < entries; ++i) {
    d.push_back(static_cast<std::uint8_t>(i * 7));
    d.push_back(static_cast<std::uint8_t>(255 - i));
    d.push_back(static_cast<std::uint8_t>(i * 3 + 1));
  }
  return d;
}

std::uint32_t ExpectedColor(const Samples& s, int x, int y) {
  const auto high = [&](int c) { return s.depth == 16 ? s.At(x, y, c) >> 8 : s.At(x, y, c); };
  switch (s.color_type) {
    case 2:
    case 6: return Rgb(high(0), high(1), high(2));
    case 3: {
      const int i = s.At(x, y, 0);
      return Rgb(i * 7 & 0xFF, 255 - i, (i * 3 + 1) & 0xFF);
    }
    default: {
      const int n = s.depth >= 8 ? 255 : (1 << s.depth) - 1;
      const int grey = s.depth >= 8 ? high(0) : (s.At(x, y, 0) * 255 + n / 2) / n;
      return Rgb(grey, grey, grey);
    }
  }
}

void ExpectSamePicture(const Samples& s, const PixelImage& bitmap) {
  ASSERT_EQ(bitmap.Width(), s.width);
  ASSERT_EQ(bitmap.Height(), s.height);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      ASSERT_EQ(bitmap.ColorAt(x, y), ExpectedColor(s, x, y)) << "pixel " << x << "," << y;
}

std::string LoadError(const Bytes& file) {
  TPNGImage image;
  try {
    image.LoadFromStream(file);
  } catch (const EPNGImageException& e) {
    return e.what();
  }
  return "no error";
}

// colour type, bit depth, interlaced
using Format = std::tuple<int, int, bool>;
class PngFormats : public ::testing::TestWithParam<Format> {};

TEST_P(PngFormats, DecodesEverySampleWithEveryFilter) {
  const auto [color_type, depth, interlaced] = GetParam();
  for (const auto& [w, h] : {std::pair{13, 11}, std::pair{1, 9}, std::pair{9, 1}}) {
    const Samples s = Pattern(w, h, depth, color_type);
    const Bytes plte = color_type == 3 ? Chunk("PLTE", PaletteData(1 << depth)) : Bytes{};
    TPNGImage image;
    image.LoadFromStream(MakePng(s, interlaced, -1, plte));
    const int expected_bits = color_type == 2 || color_type == 6 ? 24
                              : depth == 1                       ? 1
                              : depth < 8                        ? 4
                                                                 : 8;
    EXPECT_EQ(image.Bitmap().BitsPerPixel(), expected_bits);
    ExpectSamePicture(s, image.Bitmap());
    TPNGImage true_color;
    true_color.SetPixelFormat(TPngPixels::TrueColor);
    true_color.LoadFromStream(MakePng(s, interlaced, -1, plte));
    EXPECT_EQ(true_color.Bitmap().BitsPerPixel(), 24);
    ExpectSamePicture(s, true_color.Bitmap());
  }
}

INSTANTIATE_TEST_SUITE_P(AllowedCombinations, PngFormats,
                         ::testing::Combine(::testing::Values(0), ::testing::Values(1, 2, 4, 8, 16),
                                            ::testing::Bool()));
INSTANTIATE_TEST_SUITE_P(Palette, PngFormats,
                         ::testing::Combine(::testing::Values(3), ::testing::Values(1, 2, 4, 8),
                                            ::testing::Bool()));
INSTANTIATE_TEST_SUITE_P(MultiChannel, PngFormats,
                         ::testing::Combine(::testing::Values(2, 4, 6), ::testing::Values(8, 16),
                                            ::testing::Bool()));

TEST(PngImage, EachFilterTypeAloneRoundTrips) {
  // Pixel distances of 3 and 4 bytes (RGB, RGBA, 16-bit grey with alpha), 2 (16-bit grey),
  // 1 (1-bit) and 8 (16-bit RGBA).
  for (const auto& [color_type, depth] : {std::pair{2, 8}, std::pair{6, 8}, std::pair{4, 16},
                                          std::pair{0, 16}, std::pair{0, 1}, std::pair{6, 16}}) {
    for (int filter = 0; filter <= 4; ++filter) {
      const Samples s = Pattern(17, 6, depth, color_type);
      TPNGImage image;
      image.LoadFromStream(MakePng(s, false, filter));
      SCOPED_TRACE(testing::Message()
                   << "type " << color_type << " depth " << depth << " filter " << filter);
      ExpectSamePicture(s, image.Bitmap());
    }
  }
}

TEST(PngImage, TwoBitPaletteStoresFiveTimesTheSample) {
  const Samples s = Pattern(8, 2, 2, 3);
  TPNGImage image;
  image.LoadFromStream(MakePng(s, false, 0, Chunk("PLTE", PaletteData(4))));
  ASSERT_EQ(image.Bitmap().Colors().size(), 16u);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(image.Bitmap().IndexAt(x, 1), 5 * s.At(x, 1, 0));
}

TEST(PngImage, ImageDataSplitOverSeveralChunksDecodesAsOneStream) {
  const Samples s = Pattern(10, 7, 8, 2);
  const Bytes z = test::Deflate(test::Scanlines(s, false, -1));
  Bytes file = test::Signature();
  Append(file, test::Ihdr(10, 7, 8, 2));
  // Cuts in the middle of rows, including a one-byte chunk and an empty one.
  const std::size_t cuts[] = {0, 1, 1, z.size() / 3, z.size()};
  for (int i = 0; i + 1 < 5; ++i)
    Append(file, Chunk("IDAT", Bytes(z.begin() + cuts[i], z.begin() + cuts[i + 1])));
  Append(file, Chunk("IEND", {}));
  TPNGImage image;
  image.LoadFromStream(file);
  ExpectSamePicture(s, image.Bitmap());
  EXPECT_EQ(image.Chunks().Count(), 3);  // IHDR, one IDAT, IEND
}

Bytes GammaChunk(std::uint32_t value) {
  Bytes d;
  test::PutU32(d, value);
  return Chunk("gAMA", d);
}

TEST(PngImage, GammaTableAppliesToColourSamples) {
  const Samples s = Pattern(6, 4, 8, 2);
  TPNGImage image;
  image.LoadFromStream(MakePng(s, false, 0, GammaChunk(100000)));
  const auto corrected = [](int v) {
    return static_cast<int>(std::nearbyint(255.0 * std::pow(v / 255.0, 1 / 2.2)));
  };
  for (int x = 0; x < 6; ++x)
    EXPECT_EQ(image.Bitmap().ColorAt(x, 2),
              Rgb(corrected(s.At(x, 2, 0)), corrected(s.At(x, 2, 1)), corrected(s.At(x, 2, 2))));
}

TEST(PngImage, NeutralGammaKeepsPaletteColoursWithinRounding) {
  const Samples s = Pattern(16, 1, 8, 3, 15);
  TPNGImage image;
  image.LoadFromStream(MakePng(s, false, 0, GammaChunk(45455) + Chunk("PLTE", PaletteData(16))));
  for (int x = 0; x < 16; ++x) {
    const std::uint32_t got = image.Bitmap().ColorAt(x, 0), want = ExpectedColor(s, x, 0);
    for (int shift : {0, 8, 16}) EXPECT_NEAR(int(got >> shift & 0xFF), int(want >> shift & 0xFF), 1);
  }
}

TEST(PngImage, RgbTransparencyIsReducedLikeThePixels) {
  Bytes trns;
  for (std::uint16_t v : {0x1234, 0xABCD, 0x00FF}) {
    trns.push_back(v >> 8);
    trns.push_back(v & 0xFF);
  }
  TPNGImage image;
  image.LoadFromStream(MakePng(Pattern(2, 2, 8, 2), false, 0, Chunk("tRNS", trns)));
  EXPECT_TRUE(image.Transparent());
  EXPECT_EQ(image.TransparentColor(), Rgb(0x34, 0xCD, 0xFF));
  image.LoadFromStream(MakePng(Pattern(2, 2, 16, 2), false, 0, Chunk("tRNS", trns)));
  EXPECT_EQ(image.TransparentColor(), Rgb(0x12, 0xAB, 0x00));
}

TEST(PngImage, TransparencyOfAPaletteImageIsRefused) {
  TPNGImage image;
  image.LoadFromStream(
      MakePng(Pattern(2, 2, 8, 3, 3), false, 0, Chunk("PLTE", PaletteData(4)) + Chunk("tRNS", {0})));
  EXPECT_FALSE(image.Transparent());
  try {
    image.TransparentColor();
    FAIL();
  } catch (const EPNGImageException& e) {
    EXPECT_EQ(e.Text(), png_text::kNotRgbTransparency);
  }
}

TEST(PngImage, ShortPaletteLeavesOutOfRangeIndexesBlack) {
  const Samples s = Pattern(20, 3, 8, 3);  // indexes up to 255
  TPNGImage image;
  image.LoadFromStream(MakePng(s, false, 0, Chunk("PLTE", PaletteData(2))));
  ASSERT_EQ(image.Bitmap().Colors().size(), 256u);
  for (int x = 0; x < 20; ++x)
    EXPECT_EQ(image.Bitmap().ColorAt(x, 0), s.At(x, 0, 0) < 2 ? ExpectedColor(s, x, 0) : 0u);
}

TEST(PngImage, StructuralFaultsGiveTheirMessages) {
  const Samples s = Pattern(3, 3, 8, 0);
  const Bytes good = MakePng(s, false, 0);
  Bytes bad_crc = good;
  bad_crc[8 + 8 + 13] ^= 1;  // first CRC byte of IHDR
  Bytes text_first = test::Signature();
  Append(text_first, Chunk("tEXt", {'a', 0, 'b'}));
  Append(text_first, Bytes(good.begin() + 8, good.end()));
  Bytes no_data = test::Signature();
  Append(no_data, test::Ihdr(3, 3, 8, 0));
  Append(no_data, Chunk("IEND", {}));
  Bytes bad_filter = test::Signature();
  Append(bad_filter, test::Ihdr(1, 1, 8, 0));
  Append(bad_filter, Chunk("IDAT", test::Deflate({5, 0})));

  // The table keeps its hand-made columns.
  // clang-format off
  const std::pair<Bytes, std::string> cases[] = {
      {Bytes{1, 2, 3}, png_text::kInvalidSignature},
      {bad_crc, png_text::kCorruptedData},
      {text_first, png_text::kNoHeader},
      {no_data, png_text::kNoData},
      {MakePng(s, false, 0, Chunk("ABCD", {})), png_text::kUnknownCritical},
      {MakePng(Pattern(2, 2, 8, 3), false, 0), png_text::kMissingPalette},
      {MakePng(Pattern(2, 2, 8, 3), false, 0, Chunk("PLTE", {1, 2})), png_text::kInvalidPalette},
      {bad_filter, png_text::kUnknownFilter},
  };
  // clang-format on
  for (const auto& [file, text] : cases) EXPECT_EQ(LoadError(file), kPrefix + text);
}

TEST(PngImage, HeaderValuesOutsideTheAllowedSetAreRefused) {
  const auto with_header = [](std::uint32_t w, std::uint32_t h, int depth, int type, int interlace) {
    Bytes f = test::Signature();
    Append(f, test::Ihdr(w, h, depth, type, interlace));
    Append(f, Chunk("IDAT", test::Deflate({0, 0, 0, 0})));
    return f;
  };
  EXPECT_EQ(LoadError(with_header(1, 1, 8, 5, 0)), kPrefix + std::string(png_text::kUnknownColorType));
  EXPECT_EQ(LoadError(with_header(1, 1, 4, 2, 0)), kPrefix + std::string(png_text::kUnknownColorType));
  EXPECT_EQ(LoadError(with_header(1, 1, 8, 0, 2)), kPrefix + std::string(png_text::kUnknownInterlace));
  EXPECT_EQ(LoadError(with_header(70000, 70000, 8, 0, 0)), kPrefix + std::string(png_text::kTooLarge));
}

TEST(PngImage, AncillaryUnknownChunkIsKeptAndIgnored) {
  const Samples s = Pattern(4, 4, 8, 2);
  TPNGImage image;
  image.LoadFromStream(MakePng(s, false, 1, Chunk("tIME", {1, 2, 3, 4, 5, 6, 7}) + Chunk("abCD", {9})));
  ExpectSamePicture(s, image.Bitmap());
  EXPECT_EQ(image.Chunks().Item(1).TypeName(), "tIME");
  EXPECT_EQ(image.Chunks().Item(2).TypeName(), "abCD");
}

TEST(PngImage, RowsStraddlingTheInflaterBlocksComeOutWhole) {
  // 613 × 307 RGB is about 565 KB of rows of 1840 bytes, more than two of the blocks the
  // data is inflated in, so rows straddle block ends, in both row orders and with rows of
  // every pass width.
  const Samples s = Pattern(613, 307, 8, 2);
  for (const bool interlaced : {false, true}) {
    TPNGImage image;
    image.LoadFromStream(MakePng(s, interlaced, 4));
    ExpectSamePicture(s, image.Bitmap());
  }
}

TEST(PngImage, ImageDataShortOfTheLastRowFailsAndDataAfterItIsIgnored) {
  // 4 × 3 grey: three rows of a filter byte and four samples.
  const Bytes rows = {0, 1, 2, 3, 4, 0, 5, 6, 7, 8, 0, 9, 10, 11, 12};
  const auto with_data = [](const Bytes& raw) {
    Bytes f = test::Signature();
    Append(f, test::Ihdr(4, 3, 8, 0));
    Append(f, Chunk("IDAT", test::Deflate(raw)));
    Append(f, Chunk("IEND", {}));
    return f;
  };
  EXPECT_EQ(LoadError(with_data(Bytes(rows.begin(), rows.end() - 1))),
            kPrefix + std::string(png_text::kCorruptedData) + "(the image data ends early)");
  Bytes longer = rows;
  longer.resize(600000, 0xEE);  // past the first inflater blocks
  TPNGImage image;
  image.LoadFromStream(with_data(longer));
  EXPECT_EQ(image.Bitmap().ColorAt(3, 2), Rgb(12, 12, 12));
}

TEST(PngImage, EveryTruncationFailsCleanly) {
  const Bytes file = MakePng(Pattern(9, 9, 8, 6), true, -1);
  for (std::size_t cut = 0; cut < file.size(); ++cut) {
    TPNGImage image;
    try {
      image.LoadFromStream(std::span(file).first(cut));
    } catch (const EPNGImageException&) {
      continue;
    }
    // Only a cut that removes exactly the closing IEND still yields the whole picture.
    EXPECT_EQ(cut, file.size() - 12);
  }
}

TEST(PngImage, ProgressReportsEveryRow) {
  TPNGImage image;
  std::vector<int> percents;
  image.OnProgress = [&](const std::string& stage, int percent, const ProgressRect&) {
    EXPECT_EQ(stage, "Drawing...");
    percents.push_back(percent);
  };
  image.LoadFromStream(MakePng(Pattern(2, 4, 8, 0), false, 0));
  EXPECT_EQ(percents, (std::vector<int>{0, 25, 50, 75}));
}

TEST(ChunkRegistry, KeepsItsOrderAndRefusesForeignChunks) {
  const TChunkClasses& classes = TChunkClasses::Instance();
  std::string order;
  for (int i = 0; i < classes.Count(); ++i) order += std::string(classes.Item(i).type.data(), 4) + " ";
  EXPECT_EQ(order, "IEND IHDR gAMA IDAT PLTE tEXt tRNS ");
  EXPECT_THROW(classes.Item(7), EPNGImageException);

  TChunkList list;
  TChunk* text = list.AddNew(typeid(TChunkTEXT));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Data().size(), 2u);
  EXPECT_EQ(list.IndexOfClass(typeid(TChunkTEXT)), 0);
  EXPECT_EQ(list.IndexOfClass(typeid(TChunkIHDR)), -1);
  TChunkIEND stranger;
  EXPECT_THROW(list.Remove(stranger), EPNGImageException);
  EXPECT_THROW(list.Item(1), EPNGImageException);
  list.Remove(*text);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace tessival::imaging
