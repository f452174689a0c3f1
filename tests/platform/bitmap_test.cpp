#include "platform/bitmap.h"

#include <gtest/gtest.h>

#include "platform/dib.h"
#include "platform/display_depth.h"
#include "platform/masked_bitmap.h"
#include "platform/program_palette.h"

namespace tessival::platform {
namespace {

TEST(Bitmap, EveryFormatStoresAndReadsItsPixels) {
  for (PixelFormat format : {PixelFormat::pf1bit, PixelFormat::pf4bit, PixelFormat::pf8bit,
                             PixelFormat::pf24bit, PixelFormat::pf32bit}) {
    TBitmap b(9, 3, format);
    EXPECT_EQ(b.RowBytes() % 4, 0);
    EXPECT_EQ(b.RowBytes(), (static_cast<int>(format) * 9 + 31) / 32 * 4);
    b.SetPixel(8, 2, RGB(0xFF, 0xFF, 0xFF));
    b.SetPixel(7, 2, RGB(0, 0, 0));
    EXPECT_EQ(b.GetPixel(8, 2), RGB(0xFF, 0xFF, 0xFF)) << static_cast<int>(format);
    EXPECT_EQ(b.GetPixel(7, 2), RGB(0, 0, 0));
    EXPECT_EQ(b.GetPixel(9, 0), RGB(0, 0, 0));  // outside reads black
    b.SetPixel(-1, 0, RGB(1, 1, 1));            // and writes nothing
  }
}

TEST(Bitmap, ScanLinesUseTheDocumentedLayout) {
  TBitmap b(3, 2, PixelFormat::pf24bit);
  b.SetPixel(1, 1, RGB(0x11, 0x22, 0x33));
  const std::uint8_t* row = b.ScanLine(1);
  EXPECT_EQ(row[3], 0x33);  // blue first
  EXPECT_EQ(row[5], 0x11);
  TBitmap mono(10, 1, PixelFormat::pf1bit);
  mono.SetRaw(0, 0, 1);
  mono.SetRaw(9, 0, 1);
  EXPECT_EQ(mono.ScanLine(0)[0], 0x80);  // leftmost pixel in the top bit
  EXPECT_EQ(mono.ScanLine(0)[1], 0x40);
  TBitmap nibbles(2, 1, PixelFormat::pf4bit);
  nibbles.SetRaw(0, 0, 0xA);
  nibbles.SetRaw(1, 0, 0x5);
  EXPECT_EQ(nibbles.ScanLine(0)[0], 0xA5);
  EXPECT_THROW(b.ScanLine(2), std::out_of_range);
}

TEST(Bitmap, IndexedBitmapsStoreTheNearestPaletteEntry) {
  TBitmap b(1, 1, PixelFormat::pf8bit);
  b.SetPalette(TPalette({{0, 0, 0, 0}, {200, 10, 10, 0}, {10, 10, 200, 0}}));
  b.SetPixel(0, 0, RGB(220, 0, 30));
  EXPECT_EQ(b.GetRaw(0, 0), 1u);
  EXPECT_EQ(b.GetPixel(0, 0), RGB(200, 10, 10));
  EXPECT_EQ(TBitmap(1, 1, PixelFormat::pf1bit).Palette(), MonochromePalette());
}

TEST(Bitmap, ImpossibleSizesFailCleanly) {
  EXPECT_THROW(TBitmap(-1, 5, PixelFormat::pf24bit), EOutOfResources);
  EXPECT_THROW(TBitmap(100000, 100000, PixelFormat::pf32bit), EOutOfResources);
  EXPECT_TRUE(TBitmap(0, 7, PixelFormat::pf8bit).Empty());
}

TEST(Dib, CopyIsBottomUpWithAColourTableInTableOrder) {
  TBitmap b(3, 2, PixelFormat::pf4bit);
  b.SetPalette(TPalette({{0x10, 0x20, 0x30, 0}, {0xA0, 0xB0, 0xC0, PC_NOCOLLAPSE}}));
  b.SetRaw(0, 0, 1);  // top-left
  const TDib dib(b);
  EXPECT_EQ(dib.Header().biSize, 40u);
  EXPECT_EQ(dib.Header().biBitCount, 4);
  EXPECT_EQ(dib.Header().biPlanes, 1);
  EXPECT_EQ(dib.RowBytes(), 4);
  EXPECT_EQ(dib.Header().biSizeImage, 8u);
  ASSERT_EQ(dib.ColorTable().size(), 16u);
  EXPECT_EQ(dib.ColorTable()[1].blue, 0xC0);
  EXPECT_EQ(dib.ColorTable()[1].red, 0xA0);
  EXPECT_EQ(dib.ColorTable()[1].reserved, 0);
  EXPECT_EQ(dib.InfoSize(), 40u + 64u);
  EXPECT_EQ(dib.Bits()[4], 0x10);  // the top row is stored last
  EXPECT_EQ(dib.ToBitmap().GetPixel(0, 0), RGB(0xA0, 0xB0, 0xC0));
}

TEST(Dib, ThirtyTwoBitBitmapsAreStoredWithTwentyFourBits) {
  TBitmap b(2, 1, PixelFormat::pf32bit);
  b.SetPixel(1, 0, RGB(1, 2, 3));
  const TDib dib(b);
  EXPECT_EQ(dib.Header().biBitCount, 24);
  EXPECT_TRUE(dib.ColorTable().empty());
  EXPECT_EQ(dib.RowBytes(), 8);
  EXPECT_EQ(dib.ToBitmap().GetPixel(1, 0), RGB(1, 2, 3));
}

TEST(MaskedBitmap, OwnsAMaskOfItsOwnSize) {
  TMyBitmap picture(4, 2, PixelFormat::pf24bit);
  EXPECT_FALSE(picture.HasMask());
  picture.SetMask(std::make_unique<TBitmap>(4, 2, PixelFormat::pf1bit));
  EXPECT_TRUE(picture.HasMask());
  EXPECT_THROW(picture.SetMask(std::make_unique<TBitmap>(3, 2, PixelFormat::pf1bit)),
               std::invalid_argument);
  picture.SetMask(nullptr);
  EXPECT_FALSE(picture.HasMask());
}

TEST(Palette, ProgramPaletteHasTheCubeAndTheGreysBetweenTheStaticColours) {
  const TPalette p = MakeProgramPalette();
  ASSERT_EQ(p.Count(), 256);
  EXPECT_EQ(p.Entry(0), SystemPalette().Entry(0));
  EXPECT_EQ(p.Entry(255), SystemPalette().Entry(19));
  EXPECT_EQ(p.Entry(10), (PaletteEntry{0x37, 0x37, 0x37, 0}));
  EXPECT_EQ(p.Entry(11), (PaletteEntry{0x37, 0x37, 0x73, 0}));
  EXPECT_EQ(p.Entry(224), (PaletteEntry{0xFF, 0xFF, 0xEB, 0}));  // the white corner is left out
  EXPECT_EQ(p.Entry(225), (PaletteEntry{135, 135, 135, 0}));
  EXPECT_EQ(p.Entry(245), (PaletteEntry{250, 250, 250, 0}));
  EXPECT_EQ(ProgramPalette(), nullptr);
  ScopedDisplayDepth depth(8);
  ASSERT_NE(ProgramPalette(), nullptr);
  EXPECT_EQ(*ProgramPalette(), p);
}

TEST(DisplayDepth, ClassesBitsAndCanBeForced) {
  EXPECT_EQ(DisplayDepth::ClassOfBits(1), 4);
  EXPECT_EQ(DisplayDepth::ClassOfBits(4), 4);
  EXPECT_EQ(DisplayDepth::ClassOfBits(5), 8);
  EXPECT_EQ(DisplayDepth::ClassOfBits(8), 8);
  EXPECT_EQ(DisplayDepth::ClassOfBits(16), 24);
  {
    ScopedDisplayDepth outer(4);
    {
      ScopedDisplayDepth inner(8);
      EXPECT_EQ(DisplayDepth::Class(), 8);
    }
    EXPECT_EQ(DisplayDepth::Class(), 4);
  }
  EXPECT_EQ(DisplayDepth::Class(), 24);
}

TEST(Colors, MarkedValuesResolveToPlainColours) {
  EXPECT_EQ(PlainColor(0x02123456), 0x123456u);
  EXPECT_EQ(PlainColor(SystemColorFlag | COLOR_BTNSHADOW), RGB(0x80, 0x80, 0x80));
  EXPECT_EQ(PlainColor(SystemColorFlag | 999), 0u);
  EXPECT_EQ(PlainColor(NoColor), 0u);
  EXPECT_FALSE(IsPaletteRelative(NoColor));
  EXPECT_TRUE(IsPaletteRelative(PALETTERGB(1, 2, 3)));
}

}  // namespace
}  // namespace tessival::platform
