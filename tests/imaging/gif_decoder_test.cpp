#include "imaging/gif_decoder.h"

#include <gtest/gtest.h>

#include "gif_builder.h"
#include "imaging/decode_budget.h"
#include "imaging/gif_image.h"

namespace tessival::imaging {
namespace {

using test::GifBytes;
using test::GifFrameSpec;
using test::MakeGif;
using test::Solid;

GifBytes operator+(GifBytes a, const GifBytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::string LoadError(const GifBytes& file) {
  TGif gif;
  try {
    gif.LoadFromStream(file);
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_EQ(gif.LastMessage(), e.what());
    return e.what();
  }
  return "no error";
}

std::vector<std::uint8_t> Counting(int n, int modulo) {
  std::vector<std::uint8_t> v;
  for (int i = 0; i < n; ++i) v.push_back(static_cast<std::uint8_t>((i * 7 + i / 5) % modulo));
  return v;
}

TEST(GifDecoder, OnePixelFileWrittenFieldByField) {
  // The table keeps its hand-made columns.
  // clang-format off
  const GifBytes file = {
      'G', 'I', 'F', '8', '9', 'a',  // signature
      1, 0, 1, 0,                    // logical screen 1 × 1
      0x80,                          // global table of 2 entries, colour resolution 1
      0, 0,                          // background index, aspect
      0xFF, 0x00, 0x00,              // entry 0: red
      0x00, 0x00, 0xFF,              // entry 1: blue
      0x2C, 0, 0, 0, 0, 1, 0, 1, 0,  // image at 0,0, 1 × 1
      0x00,                          // no local table, not interlaced
      2,                             // minimum code size
      2, 0x44, 0x01,                 // codes clear (4), 0, end (5) at 3 bits each
      0,                             // block terminator
      0x3B};                         // trailer
  ASSERT_EQ(file.size(), 35u);
  TGif gif;
  gif.LoadFromStream(file);
  ASSERT_EQ(gif.Images().size(), 1u);
  EXPECT_EQ(gif.Images()[0].pixels, std::vector<std::uint8_t>{0});
  EXPECT_EQ(gif.ColorTables()[0].colors[0], 0x0000FFu);  // R + G×256 + B×65536
  EXPECT_EQ(gif.LoopCount(), -1);
  auto image = LoadGifImage(file);
  EXPECT_EQ(image->Bitmap().ColorAt(0, 0), 0xFF0000u);
  EXPECT_EQ(image->Mask(), nullptr);
}

TEST(GifDecoder, BothVersionsAndTheirSignatureCase) {
  const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF};
  for (const std::string sig : {"GIF87a", "GIF89a", "gif89A"}) {
    TGif gif;
    gif.LoadFromStream(MakeGif(2, 2, palette, {Solid(0, 0, 2, 2, 1)}, {}, sig));
    EXPECT_EQ(std::string(gif.Signature().begin(), gif.Signature().end()), sig);
  }
  EXPECT_EQ(LoadError(MakeGif(2, 2, palette, {Solid(0, 0, 2, 2, 1)}, {}, "GIF88a")),
            "TGif: Invalid GIF Signature Code");
}

TEST(GifDecoder, LongRunsAndRepeatsRoundTripThroughTheStringTable) {
  // Long repetitive runs exercise codes equal to the next free entry; 300 × 40 pixels of
  // 200 colours fill the table and force clear codes.
  std::vector<std::uint32_t> palette(256);
  for (int i = 0; i < 256; ++i) palette[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i * 0x010101);
  GifFrameSpec frame = Solid(0, 0, 300, 40, 0);
  for (std::size_t i = 0; i < frame.pixels.size(); ++i)
    frame.pixels[i] = static_cast<std::uint8_t>(i < 3000 ? 9 : (i * 31 + i / 7) % 200);
  TGif gif;
  gif.LoadFromStream(MakeGif(300, 40, palette, {frame}));
  EXPECT_EQ(gif.Images()[0].pixels, frame.pixels);
}

TEST(GifDecoder, FullTableWithoutClearCodeDecodesToTheEnd) {
  const std::vector<std::uint8_t> pixels = Counting(6000, 4);
  GifBytes file = MakeGif(100, 60, {0, 1, 2, 3}, {});
  file.pop_back();  // trailer
  file.insert(file.end(), {0x2C, 0, 0, 0, 0, 100, 0, 60, 0, 0, 2});
  test::SubBlocks(file, test::LzwWriter(2).Encode(pixels, true, false));
  file.push_back(0x3B);
  TGif gif;
  gif.LoadFromStream(file);
  EXPECT_EQ(gif.Images()[0].pixels, pixels);
}

// One image of 4 colours whose LZW data is given as it stands, with its minimum code size.
GifBytes WithImageData(int width, int height, int min_code_size, const GifBytes& data) {
  GifBytes file = MakeGif(width, height, {0, 1, 2, 3}, {});
  file.pop_back();  // trailer
  file.push_back(0x2C);
  test::Word(file, 0); test::Word(file, 0); test::Word(file, width); test::Word(file, height);
  file.insert(file.end(), {0, static_cast<std::uint8_t>(min_code_size)});
  test::SubBlocks(file, data);
  file.push_back(0x3B);
  return file;
}

TEST(GifDecoder, EveryMinimumCodeSizeRoundTripsShortAndLongStrings) {
  // Noise gives strings of one to three bytes, the runs strings of hundreds; codes of 256
  // and above stand for their low byte.
  std::uint32_t state = 7;
  for (int min_code_size = 1; min_code_size <= 11; ++min_code_size) {
    std::vector<std::uint8_t> pixels(120 * 70);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      state = state * 1664525u + 1013904223u;
      const bool run = (i / 700) % 2 == 1;
      const unsigned value = run ? static_cast<unsigned>(i / 700) : state >> 20;
      pixels[i] = static_cast<std::uint8_t>(value % (1u << std::min(min_code_size, 8)));
    }
    TGif gif;
    gif.LoadFromStream(WithImageData(120, 70, min_code_size, test::LzwWriter(min_code_size).Encode(pixels)));
    EXPECT_EQ(gif.Images()[0].pixels, pixels) << "minimum code size " << min_code_size;
  }
}

TEST(GifDecoder, DataForMorePixelsThanTheImageHasIsCutOff) {
  const std::vector<std::uint8_t> pixels = Counting(5000, 4);
  for (const auto& [width, height] : {std::pair{10, 10}, std::pair{70, 70}}) {
    TGif gif;
    gif.LoadFromStream(WithImageData(width, height, 2, test::LzwWriter(2).Encode(pixels)));
    const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    EXPECT_EQ(gif.Images()[0].pixels, std::vector<std::uint8_t>(pixels.begin(), pixels.begin() + size));
  }
}

TEST(GifDecoder, InterlacedTenRowsFillPassByPass) {
  GifFrameSpec frame = Solid(0, 0, 3, 10, 0);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 3; ++x) frame.pixels[static_cast<std::size_t>(y) * 3 + static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(y);
  frame.interlaced = true;
  const GifBytes file = MakeGif(3, 10, std::vector<std::uint32_t>(16), {frame});
  TGif gif;
  gif.LoadFromStream(file);
  EXPECT_EQ(gif.Images()[0].pixels, frame.pixels);
  // The stored order is rows 0, 8, 4, 2, 6, 1, 3, 5, 7, 9.
  EXPECT_EQ(test::InterlaceRows(frame)[3], 8);
  EXPECT_EQ(test::InterlaceRows(frame)[6], 4);
}

TEST(GifDecoder, ExtensionsGiveDelayDisposalTransparencyAndLoops) {
  GifFrameSpec first = Solid(0, 0, 2, 2, 1, 2);
  first.delay = 7;
  first.transparent = 1;
  GifFrameSpec second = Solid(0, 0, 2, 2, 0);
  second.graphic_control = false;
  GifBytes comment = {0x21, 0xFE, 3, 'h', 'e', 'y', 0};
  GifBytes text = {0x21, 0x01, 12, 0, 0, 0, 0, 8, 0, 8, 0, 4, 4, 1, 0, 2, 'h', 'i', 0};
  TGif gif;
  gif.LoadFromStream(MakeGif(2, 2, {0, 0xFFFFFF}, {first, second}, comment + text + test::LoopExtension(3)));
  EXPECT_EQ(gif.LoopCount(), 3);
  const auto& images = gif.Images();
  EXPECT_EQ(images[0].extensions.size(), 4u);  // comment, text, application, graphic control
  EXPECT_EQ(images[0].Delay(), 7);
  EXPECT_EQ(images[0].Disposal(), 2);
  EXPECT_EQ(images[0].TransparentIndex(), 1);
  EXPECT_EQ(images[1].Delay(), 1);
  EXPECT_EQ(images[1].TransparentIndex(), -1);
}

TEST(GifDecoder, StructuralFaultsGiveTheirMessages) {
  const std::vector<std::uint32_t> palette = {0, 0xFFFFFF};
  const GifBytes good = MakeGif(2, 2, palette, {Solid(0, 0, 2, 2, 1)});
  GifBytes unknown = MakeGif(2, 2, palette, {Solid(0, 0, 2, 2, 1)}, {0x21, 0xF8, 0});
  GifBytes no_table = MakeGif(2, 2, {}, {Solid(0, 0, 2, 2, 1)});
  GifBytes no_image = MakeGif(2, 2, palette, {});
  GifBytes bad_op = good;
  bad_op.at(bad_op.size() - 1) = 0x99;
  GifBytes no_trailer = good;
  no_trailer.pop_back();
  GifBytes bad_gce = MakeGif(2, 2, palette, {Solid(0, 0, 2, 2, 1)}, {0x21, 0xF9, 5, 0, 0, 0, 0, 0, 0});
  GifBytes bad_terminator = MakeGif(2, 2, palette, {Solid(0, 0, 2, 2, 1)}, {0x21, 0xF9, 4, 0, 0, 0, 0, 9});
  GifBytes no_clear = MakeGif(2, 2, palette, {});
  no_clear.pop_back();
  no_clear.insert(no_clear.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 2, 1, 0x01, 0, 0x3B});
  GifBytes huge_code_size = MakeGif(2, 2, palette, {});
  huge_code_size.pop_back();
  huge_code_size.insert(huge_code_size.end(), {0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0, 12, 1, 0x01, 0, 0x3B});
  GifBytes huge = MakeGif(2, 2, palette, {});
  huge.pop_back();
  huge.insert(huge.end(), {0x2C, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 2, 0, 0x3B});

  EXPECT_EQ(LoadError(unknown), "TGif: unknown extension: 00F8");
  EXPECT_EQ(LoadError(no_table), "TGif: No Local or Global Color Table for Image");
  EXPECT_EQ(LoadError(no_image), "TGif: No Image Description");
  EXPECT_EQ(LoadError(bad_op), "TGif: Unknown Graphics Operation Code");
  EXPECT_EQ(LoadError(no_trailer), "TGif: No GIF Terminator Found");
  EXPECT_EQ(LoadError(bad_gce), "TGif: Invalid Extension Block Size");
  EXPECT_EQ(LoadError(bad_terminator), "TGif: Invalid Extension Block Terminator");
  EXPECT_EQ(LoadError(no_clear), "TGif: Invalid LZW Data Format");
  EXPECT_EQ(LoadError(huge_code_size), "TGif: Invalid LZW Code Size");
  EXPECT_EQ(LoadError(huge), "TGif: Value Out Of Range");
  bool non_animated = false;
  EXPECT_EQ(CreateGifImage(unknown, non_animated), nullptr);
}

TEST(GifDecoder, AllFramesTogetherMayHoldExactlyThePixelLimit) {
  // Two 8192-pixel-wide frames whose data is one pixel (the rest is left at index 0):
  // 2^26 pixels together load; with one row more the second frame is past the budget and
  // the animation keeps the first only.
  const auto frames = [](int second_height) {
    GifFrameSpec first = Solid(0, 0, 8192, 4096, 0), second = Solid(0, 0, 8192, second_height, 0);
    first.pixels = second.pixels = {0};
    return MakeGif(8192, 4096, {0, 0xFFFFFF}, {first, second});
  };
  // clang-format on
  ASSERT_EQ(std::uint64_t{8192} * 8192, kMaxImagePixels);
  TGif gif;
  gif.LoadFromStream(frames(4096));
  ASSERT_EQ(gif.Images().size(), 2u);
  EXPECT_EQ(gif.Images()[1].pixels.size(), std::size_t{8192} * 4096);
  gif.LoadFromStream(frames(4097));
  EXPECT_EQ(gif.Images().size(), 1u);
}

TEST(GifDecoder, ZeroByteEndsTheFileLikeTheTrailer) {
  GifBytes file = MakeGif(2, 2, {0, 0xFFFFFF}, {Solid(0, 0, 2, 2, 1)});
  file.back() = 0x00;
  TGif gif;
  gif.LoadFromStream(file);
  EXPECT_EQ(gif.Images().size(), 1u);
}

TEST(GifDecoder, TruncatedImageDataLeavesTheRestAtIndexZero) {
  GifFrameSpec frame = Solid(0, 0, 20, 20, 3);
  GifBytes file = MakeGif(20, 20, {0, 1, 2, 3}, {});
  file.pop_back();
  file.insert(file.end(), {0x2C, 0, 0, 0, 0, 20, 0, 20, 0, 0, 2});
  GifBytes data = test::LzwWriter(2).Encode(frame.pixels, true);
  data.resize(data.size() / 2);
  test::SubBlocks(file, data);
  file.push_back(0x3B);
  TGif gif;
  gif.LoadFromStream(file);
  const auto& pixels = gif.Images()[0].pixels;
  EXPECT_EQ(pixels.front(), 3);
  EXPECT_EQ(pixels.back(), 0);
}

TEST(GifDecoder, EveryTruncationOfAnAnimationFailsCleanly) {
  GifFrameSpec second = Solid(1, 1, 3, 2, 2, 2);
  second.interlaced = true;
  const GifBytes file = MakeGif(5, 4, {0, 0xFF, 0xFF00, 0xFF0000}, {Solid(0, 0, 5, 4, 1), second},
                                test::LoopExtension(0));
  for (std::size_t cut = 0; cut < file.size(); ++cut) {
    bool non_animated = false;
    auto image = CreateGifImage(std::span(file).first(cut), non_animated);
    if (image != nullptr) {
      EXPECT_GE(image->NumFrames(), 1);
    }
  }
}

}  // namespace
}  // namespace tessival::imaging

namespace tessival::imaging {
namespace {

using test::GifFrameSpec;
using test::MakeGif;
using test::Solid;

// An animation declaring more than its budget keeps the frames before it; a first frame
// beyond it is no picture. The files are tiny: only the sizes they declare are large.
TEST(GifBudgetTest, FramesPastTheBudgetAreNotRead) {
  const std::vector<std::uint32_t> palette = {0x000000, 0xFFFFFF};
  const struct {
    int screen_width, screen_height;
    std::size_t frames, kept;
  } cases[] = {
      {1, 1, kMaxAnimationFrames, kMaxAnimationFrames},
      {1, 1, kMaxAnimationFrames + 1, kMaxAnimationFrames},
      {4096, 4096, 4, 4},  // the strip of screen-sized frames at the pixel limit
      {4096, 4096, 5, 4},
  };
  for (const auto& c : cases) {
    const std::vector<GifFrameSpec> frames(c.frames, Solid(0, 0, 1, 1, 1));
    TGif gif;
    gif.LoadFromStream(MakeGif(c.screen_width, c.screen_height, palette, frames));
    EXPECT_EQ(gif.Images().size(), c.kept) << c.frames;
  }
  TGif huge;
  EXPECT_THROW(huge.LoadFromStream(MakeGif(65535, 65535, palette, {Solid(0, 0, 1, 1, 1)})),
               EInvalidGraphicOperation);
}

}  // namespace
}  // namespace tessival::imaging
