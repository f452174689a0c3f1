// Decoder cases that slipped past the other tests: a 1-bit table declared too long, 8-bit
// rows wider than the 3 pixels where any copy looks right, and JPEG for palette displays.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bmp_builder.h"
#include "imaging/bmp_reader.h"
#include "imaging/jpeg_reader.h"

namespace tessival::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::BmpShape;
using test::MakeBmp;

constexpr int kNear = 8;  // the library dithers by a few levels
constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kBlue = 0x0000FF;

TEST(PinnedBmp, AOneBitTableDeclaredWithFourColoursKeepsTwo) {
  // The file holds the four entries it declares; the pixels come after all four.
  for (const bool zero_offset : {false, true}) {
    SCOPED_TRACE(zero_offset);
    const PixelImage image = ReadBmp(MakeBmp(
        {3, 1, 1, 0, {kWhite, kBlack, kRed, kBlue}, {}, {0b01000000, 0, 0, 0}, false, zero_offset}));
    ASSERT_EQ(image.Colors().size(), 2u);
    EXPECT_EQ(image.ColorAt(0, 0), kWhite);
    EXPECT_EQ(image.ColorAt(1, 0), kBlack);
    EXPECT_EQ(image.ColorAt(2, 0), kWhite);
  }
}

TEST(PinnedBmp, EightBitRowsWiderThanFourPixels) {
  // 5 x 2, rows padded to 8 bytes, stored bottom-up.
  const std::vector<std::uint32_t> table = {kWhite, kRed, 0x00FF00, kBlue};
  const PixelImage image = ReadBmp(
      MakeBmp({5, 2, 8, 0, table, {}, {0, 1, 2, 3, 2, 0, 0, 0, 1, 2, 3, 0, 1, 0, 0, 0}}));
  ASSERT_EQ(image.BitsPerPixel(), 8);
  const int top[] = {1, 2, 3, 0, 1}, bottom[] = {0, 1, 2, 3, 2};
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(image.IndexAt(x, 0), top[x]) << x;
    EXPECT_EQ(image.IndexAt(x, 1), bottom[x]) << x;
  }
}

class PinnedJpeg : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v cjpeg >/dev/null") != 0)
      GTEST_SKIP() << "cjpeg (libjpeg-turbo-progs) is not installed";
    dir_ = std::filesystem::temp_directory_path() /
           ("tessival_pinned_jpeg_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Four flat quarters in red, green, blue and yellow, compressed by cjpeg with `options`.
  Bytes Quarters(const std::string& options) {
    const int size = 32;
    std::string ppm = "P6\n32 32\n255\n";
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const int quarter = (y / 16) * 2 + x / 16;
        const bool red = quarter == 0 || quarter == 3, green = quarter == 1 || quarter == 3;
        ppm += static_cast<char>(red ? 255 : 0);
        ppm += static_cast<char>(green ? 255 : 0);
        ppm += static_cast<char>(quarter == 2 ? 255 : 0);
      }
    const std::string source = (dir_ / "in.ppm").string(), jpeg = (dir_ / "in.jpg").string();
    std::ofstream(source, std::ios::binary) << ppm;
    EXPECT_EQ(std::system(("cjpeg " + options + " -outfile '" + jpeg + "' '" + source + "'").c_str()),
              0);
    std::ifstream in(jpeg, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  std::filesystem::path dir_;
};

// The largest difference in one channel between two colours.
int ChannelDifference(std::uint32_t a, std::uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 24; shift += 8)
    largest = std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                         static_cast<int>((b >> shift) & 0xFF)));
  return largest;
}

// Every pixel of `indexed` shows a palette entry next to the same pixel of `full`: the
// library's dithering may take a neighbour of the nearest entry, never a far colour.
void ExpectNearEntries(const PixelImage& indexed, const PixelImage& full) {
  ASSERT_EQ(indexed.BitsPerPixel(), 8);
  ASSERT_EQ(indexed.Width(), full.Width());
  ASSERT_EQ(indexed.Height(), full.Height());
  int largest = 0;
  for (int y = 0; y < full.Height(); ++y)
    for (int x = 0; x < full.Width(); ++x)
      largest = std::max(largest, ChannelDifference(indexed.ColorAt(x, y), full.ColorAt(x, y)));
  EXPECT_LE(largest, kNear);
}

TEST_F(PinnedJpeg, ThePaletteDecodeShowsTheNearestEntriesOfTheTrueColourDecode) {
  const Bytes colour = Quarters("-quality 90");
  ExpectNearEntries(ReadJpeg(colour, TJpegOutput::kPalette8), ReadJpeg(colour));
  const Bytes grey = Quarters("-quality 90 -grayscale");
  const PixelImage indexed = ReadJpeg(grey, TJpegOutput::kPalette8);
  ExpectNearEntries(indexed, ReadJpeg(grey));
  for (const auto& entry : indexed.Colors()) {
    EXPECT_EQ(entry.red, entry.green);
    EXPECT_EQ(entry.green, entry.blue);
  }
}

}  // namespace
}  // namespace tessival::imaging
