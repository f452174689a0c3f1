#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bmp_builder.h"
#include "gif_builder.h"
#include "imaging/image_format.h"
#include "imaging/image_loader.h"
#include "imaging/jpeg_reader.h"
#include "platform/display_depth.h"
#include "platform/program_palette.h"
#include "png_builder.h"

namespace tessival::imaging {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::operator+;

Bytes Prefix(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

TEST(ImageFormat, FirstBytesDecide) {
  EXPECT_EQ(DetectImageFormat(Prefix({'B', 'M', 0, 0, 0})), TImageFormat::kBmp);
  EXPECT_EQ(DetectImageFormat(Prefix({'G', 'I', 'F', '8', '7'})), TImageFormat::kGif87);
  EXPECT_EQ(DetectImageFormat(Prefix({'G', 'I', 'F', '8', '9'})), TImageFormat::kGif89);
  EXPECT_EQ(DetectImageFormat(Prefix({0x89, 'P', 'N', 'G', 13})), TImageFormat::kPng);
  EXPECT_EQ(DetectImageFormat(Prefix({0xFF, 0xD8, 0xFF, 0xE0, 0})), TImageFormat::kJpeg);
  EXPECT_EQ(DetectImageFormat(Prefix({'G', 'I', 'F', '7', '9'})), TImageFormat::kUnknown);
  EXPECT_EQ(DetectImageFormat(Prefix({'B'})), TImageFormat::kUnknown);
  EXPECT_EQ(DetectImageFormat({}), TImageFormat::kUnknown);
}

// A 24-bit BMP of `bytes` bytes at least; the smallest real one is 58 bytes, so shorter
// streams are cut copies of it.
Bytes SmallBmp() { return test::MakeBmp({1, 1, 24, 0, {}, {}, {10, 20, 30, 0}}); }

TEST(ImageLoading, StreamsBelowTwentyBytesAreNotDecoded) {
  std::uint8_t transparency = kNotTransparent;
  BitmapPtr mask;
  const Bytes whole = SmallBmp();
  EXPECT_NE(LoadImageFromStream(whole, transparency, mask), nullptr);
  // 19 bytes are refused before any decoder looks; 20 reach the bitmap reader, which finds
  // the file cut short. Neither gives a picture or fails otherwise.
  EXPECT_EQ(LoadImageFromStream(std::span(whole).first(19), transparency, mask), nullptr);
  EXPECT_EQ(LoadImageFromStream(std::span(whole).first(20), transparency, mask), nullptr);
  EXPECT_EQ(LoadImageFromStream({}, transparency, mask), nullptr);
}

TEST(ImageLoading, PngTransparencyOnlyBeforeTheImageData) {
  const test::Samples rgb{2, 1, 8, 2, {10, 20, 30, 40, 50, 60}};
  const Bytes trns = test::Chunk("tRNS", {0, 40, 0, 50, 0, 60});
  std::uint8_t transparency = kNotTransparent;
  BitmapPtr mask;
  auto after = LoadImageFromStream(test::MakePng(rgb, false, 0, {}, trns), transparency, mask);
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(transparency, kNotTransparent);
  EXPECT_EQ(mask, nullptr);

  auto before = LoadImageFromStream(test::MakePng(rgb, false, 0, trns), transparency, mask);
  ASSERT_NE(before, nullptr);
  EXPECT_EQ(transparency, kFromPng);
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(mask->GetRaw(0, 0), 0u);
  EXPECT_EQ(mask->GetRaw(1, 0), 1u);  // the tRNS colour
}

TEST(ImageLoading, PalettePngIsMaskedByEntryZero) {
  // Entries 0 and 2 share a colour: both are see-through, whatever tRNS says per entry.
  const test::Samples s{4, 1, 8, 3, {0, 1, 2, 3}};
  const Bytes plte = test::Chunk("PLTE", {9, 8, 7, 50, 60, 70, 9, 8, 7, 1, 1, 1});
  std::uint8_t transparency = kNotTransparent;
  BitmapPtr mask;
  auto bitmap = LoadImageFromStream(test::MakePng(s, false, 0, plte + test::Chunk("tRNS", {0, 255})),
                                    transparency, mask);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(transparency, kFromPng);
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(mask->GetRaw(0, 0), 1u);
  EXPECT_EQ(mask->GetRaw(1, 0), 0u);
  EXPECT_EQ(mask->GetRaw(2, 0), 1u);
  EXPECT_EQ(mask->GetRaw(3, 0), 0u);
}

TEST(ImageLoading, AskedTransparencyMasksTheLowerLeftColour) {
  // 2 x 2, bottom-up: the lower-left pixel (first stored) is blue.
  const Bytes file = test::MakeBmp(
      {2, 2, 24, 0, {}, {}, {255, 0, 0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 0}});
  std::uint8_t transparency = kByLowerLeftPixel;
  BitmapPtr mask;
  ASSERT_NE(LoadImageFromStream(file, transparency, mask), nullptr);
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(mask->GetRaw(0, 1), 1u);
  EXPECT_EQ(mask->GetRaw(1, 1), 0u);
  EXPECT_EQ(mask->GetRaw(0, 0), 1u);
  EXPECT_EQ(mask->GetRaw(1, 0), 1u);
}

class ImageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("tessival_image_files_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string Write(const std::string& name, const Bytes& data) {
    std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return path;
  }
  std::filesystem::path dir_;
};

Bytes TransparentGif(int frames) {
  std::vector<test::GifFrameSpec> frame_list;
  for (int i = 0; i < frames; ++i) {
    test::GifFrameSpec f = test::Solid(0, 0, 2, 2, static_cast<std::uint8_t>(1 + i % 2));
    f.pixels[0] = 0;
    f.transparent = 0;
    f.delay = 10;
    frame_list.push_back(f);
  }
  return test::MakeGif(2, 2, {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF}, frame_list);
}

TEST_F(ImageFiles, OneFrameGifBecomesABitmapWithItsOwnMask) {
  std::uint8_t transparency = kNotTransparent;
  BitmapPtr mask;
  TLoadedImage still = LoadImageFile(Write("one.GIF", TransparentGif(1)), transparency, mask);
  ASSERT_NE(still.Bitmap, nullptr);
  EXPECT_EQ(still.Animated, nullptr);
  EXPECT_EQ(transparency, kFromImage);
  ASSERT_NE(mask, nullptr);
  EXPECT_EQ(mask->GetRaw(0, 0), 1u);
  EXPECT_EQ(mask->GetRaw(1, 0), 0u);

  TLoadedImage animated = LoadImageFile(Write("two.gif", TransparentGif(2)), transparency, mask);
  ASSERT_NE(animated.Animated, nullptr);
  EXPECT_EQ(animated.Animated->NumFrames(), 2);
}

TEST_F(ImageFiles, GifUnderAnotherNameIsNotShownFromAFileButIsFromAStream) {
  std::uint8_t transparency = kNotTransparent;
  BitmapPtr mask;
  EXPECT_FALSE(LoadImageFile(Write("picture.png", TransparentGif(1)), transparency, mask));
  EXPECT_TRUE(LoadImageData(TransparentGif(1), transparency, mask));
  EXPECT_FALSE(LoadImageFile((dir_ / "missing.gif").string(), transparency, mask));
}

TEST(DisplayConversion, PaletteDisplaysGetDitheredPicturesAndTrueColourKeepsThem) {
  platform::TBitmap picture(4, 4, platform::PixelFormat::pf24bit);
  picture.Fill(0x3080C0);
  {
    platform::ScopedDisplayDepth eight(8);
    const platform::TBitmap reduced = ConvertForDisplay(picture);
    EXPECT_EQ(reduced.BitsPerPixel(), 8);
    EXPECT_EQ(reduced.Palette(), *platform::ProgramPalette());
  }
  {
    platform::ScopedDisplayDepth four(4);
    EXPECT_EQ(ConvertForDisplay(picture).Palette(), platform::SystemPalette());
  }
  EXPECT_EQ(ConvertForDisplay(picture), picture);
  const platform::TBitmap indexed(3, 3, platform::PixelFormat::pf8bit);
  EXPECT_EQ(ConvertForDisplay(indexed).BitsPerPixel(), 24);
}

// Runs a command; true when it exited with 0.
bool RunCommand(const std::string& command) { return std::system(command.c_str()) == 0; }

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(ImageFiles, JpegPixelsAreTheLibraryToolsOwn) {
  if (!RunCommand("command -v cjpeg >/dev/null && command -v djpeg >/dev/null"))
    GTEST_SKIP() << "cjpeg/djpeg (libjpeg-turbo-progs) are not installed";
  // A picture with colour edges, so chroma upsampling matters.
  const int width = 37, height = 23;
  std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      ppm += static_cast<char>((x * 7) & 0xFF);
      ppm += static_cast<char>(y * 11);
      ppm += static_cast<char>(((x / 5 + y / 3) % 2) * 255);
    }
  const std::string source = Write("in.ppm", Bytes(ppm.begin(), ppm.end()));
  const std::string jpeg = (dir_ / "in.jpg").string();
  const std::string reference = (dir_ / "out.ppm").string();
  ASSERT_TRUE(RunCommand("cjpeg -quality 75 -outfile '" + jpeg + "' '" + source + "'"));
  ASSERT_TRUE(RunCommand("djpeg -pnm -outfile '" + reference + "' '" + jpeg + "'"));

  const PixelImage ours = ReadJpeg(ReadFile(jpeg));
  const Bytes theirs = ReadFile(reference);
  const std::string header = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  ASSERT_EQ(theirs.size(), header.size() + static_cast<std::size_t>(width * height * 3));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::size_t at = header.size() + (static_cast<std::size_t>(y) * width + x) * 3;
      const std::uint32_t rgb = (std::uint32_t{theirs[at]} << 16) | (theirs[at + 1] << 8) |
                                theirs[at + 2];
      ASSERT_EQ(ours.ColorAt(x, y), rgb) << x << "," << y;
    }
  // The palette output is 8-bit with a table and the same size.
  const PixelImage indexed = ReadJpeg(ReadFile(jpeg), TJpegOutput::kPalette8);
  EXPECT_EQ(indexed.BitsPerPixel(), 8);
  EXPECT_EQ(indexed.Width(), width);
  EXPECT_FALSE(indexed.Colors().empty());
}

// A progressive file whose last scan is repeated: the library takes the repeats (with a
// warning), so a few kilobytes can keep it busy; past the scan limit it is refused.
TEST_F(ImageFiles, ProgressiveJpegOfEndlessScansIsRefused) {
  if (!RunCommand("command -v cjpeg >/dev/null"))
    GTEST_SKIP() << "cjpeg (libjpeg-turbo-progs) are not installed";
  // A grey picture of `side` × `side` in six scans, its last scan repeated `repeats` times.
  const auto progressive = [this](int side, int repeats) {
    std::string pgm = "P5\n" + std::to_string(side) + " " + std::to_string(side) + "\n255\n";
    pgm.resize(pgm.size() + static_cast<std::size_t>(side) * static_cast<std::size_t>(side), '\x40');
    const std::string source = Write("in.pgm", Bytes(pgm.begin(), pgm.end()));
    const std::string jpeg = (dir_ / "in.jpg").string();
    EXPECT_TRUE(RunCommand("cjpeg -grayscale -progressive -outfile '" + jpeg + "' '" + source + "'"));
    const Bytes file = ReadFile(jpeg);
    std::size_t last_scan = 0;
    for (std::size_t i = 0; i + 1 < file.size(); ++i)
      if (file[i] == 0xFF && file[i + 1] == 0xDA) last_scan = i;
    const auto scan = file.begin() + static_cast<std::ptrdiff_t>(last_scan);
    const auto end = file.end() - 2;  // the end-of-image marker
    Bytes out(file.begin(), end);
    for (int r = 0; r < repeats; ++r) out.insert(out.end(), scan, end);
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
  };
  EXPECT_EQ(ReadJpeg(progressive(8, 294)).Width(), 8);  // 300 scans
  EXPECT_THROW(ReadJpeg(progressive(8, 295)), EJpegError);
  // 2048 × 2048: 16 scans of the largest picture are 256 of this one.
  EXPECT_EQ(ReadJpeg(progressive(2048, 250)).Width(), 2048);
  EXPECT_THROW(ReadJpeg(progressive(2048, 251)), EJpegError);
}

TEST(JpegReader, BrokenDataFailsCleanly) {
  EXPECT_THROW(ReadJpeg(Prefix({0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0})), EJpegError);
  EXPECT_THROW(ReadJpeg({}), EJpegError);
  std::uint8_t transparency = kNotTransparent;
  BitmapPtr mask;
  Bytes junk = Prefix({0xFF, 0xD8});
  junk.resize(64, 0x55);
  EXPECT_EQ(LoadImageFromStream(junk, transparency, mask), nullptr);
}

}  // namespace
}  // namespace tessival::imaging
