#include "imaging/platform_bitmaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tessival::imaging {
namespace {

// Every byte of the buffer (row padding and the unused fourth byte of 32-bit pixels
// included) gets a value of its own, so a lost, shifted or flipped byte shows.
PixelImage Patterned(int width, int height, int bits, RowOrder order) {
  PixelImage image(width, height, bits, order);
  std::uint8_t value = 17;
  for (std::uint8_t& b : image.Bits()) b = value = static_cast<std::uint8_t>(value * 13 + 7);
  if (bits <= 8) {
    for (int i = 0; i < (1 << bits); ++i)
      image.Colors().push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                static_cast<std::uint8_t>(i * 3),
                                static_cast<std::uint8_t>(i % 2 ? kPaletteNoCollapse : 0)});
  }
  return image;
}

bool SameBuffer(const PixelImage& a, const PixelImage& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.BitsPerPixel() == b.BitsPerPixel() &&
         a.Order() == b.Order() && a.Colors() == b.Colors() && std::ranges::equal(a.Bits(), b.Bits());
}

TEST(PlatformBitmaps, EveryFormatGoesOverAndBackUnchanged) {
  for (int bits : {1, 4, 8, 24, 32}) {
    for (RowOrder order : {RowOrder::TopDown, RowOrder::BottomUp}) {
      const PixelImage image = Patterned(13, 5, bits, order);
      const platform::TBitmap bitmap = ToPlatformBitmap(image);
      ASSERT_EQ(bitmap.BitsPerPixel(), bits);
      // Picture row y is the platform's scan line y whatever the stored order.
      for (int y = 0; y < image.Height(); ++y) {
        ASSERT_TRUE(std::equal(image.Row(y), image.Row(y) + image.Stride(), bitmap.ScanLine(y)))
            << bits << " " << y;
        for (int x = 0; x < image.Width(); ++x) {
          const std::uint32_t rgb = image.ColorAt(x, y);
          EXPECT_EQ(bitmap.GetPixel(x, y), platform::RGB(rgb >> 16, rgb >> 8, rgb))
              << bits << " " << x << "," << y;
        }
      }
      if (bits <= 8) {
        EXPECT_EQ(FromPlatformPalette(bitmap.Palette()), image.Colors()) << bits;
      }
      EXPECT_TRUE(SameBuffer(FromPlatformBitmap(bitmap, order), image)) << bits;
      EXPECT_EQ(ToPlatformBitmap(FromPlatformBitmap(bitmap)), bitmap) << bits;
    }
  }
}

TEST(PlatformBitmaps, PaletteSizesAndEmptyPicturesAreKept) {
  PixelImage short_table(3, 2, 8);
  short_table.Colors() = {{1, 2, 3, 0}, {4, 5, 6, kPaletteNoCollapse}};
  EXPECT_EQ(ToPlatformBitmap(short_table).Palette().Count(), 2);
  EXPECT_TRUE(SameBuffer(FromPlatformBitmap(ToPlatformBitmap(short_table)), short_table));
  // No table stays no table rather than turning into the platform's default one.
  EXPECT_EQ(ToPlatformBitmap(PixelImage(3, 2, 4)).Palette().Count(), 0);
  EXPECT_TRUE(ToPlatformBitmap(PixelImage(0, 4, 24)).Empty());
  EXPECT_TRUE(FromPlatformBitmap(platform::TBitmap(5, 0, platform::PixelFormat::pf1bit)).Empty());
}

TEST(PlatformBitmaps, PartsStartingInsideAByteKeepEveryPixel) {
  for (int bits : {1, 4, 8, 24}) {
    const PixelImage image = Patterned(21, 4, bits, RowOrder::BottomUp);
    const TRect part{3, 1, 17, 4};
    const platform::TBitmap bitmap = ToPlatformBitmap(image, part);
    ASSERT_EQ(bitmap.Width(), part.Width());
    ASSERT_EQ(bitmap.Height(), part.Height());
    for (int y = 0; y < part.Height(); ++y) {
      for (int x = 0; x < part.Width(); ++x) {
        const std::uint32_t rgb = image.ColorAt(part.left + x, part.top + y);
        EXPECT_EQ(bitmap.GetPixel(x, y), platform::RGB(rgb >> 16, rgb >> 8, rgb))
            << bits << " " << x << "," << y;
      }
    }
  }
}

TEST(PlatformBitmaps, StripKeepsItsMask) {
  TMyBitmap strip;
  strip.bitmap = Patterned(10, 3, 24, RowOrder::BottomUp);
  strip.mask = Patterned(10, 3, 1, RowOrder::BottomUp);
  strip.SetHasMask(true);
  const platform::TMyBitmap bitmap = ToPlatformBitmap(strip);
  ASSERT_TRUE(bitmap.HasMask());
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(bitmap.Mask()->GetRaw(x, y), static_cast<std::uint32_t>(strip.mask.IndexAt(x, y)));
  }
  const TMyBitmap back = FromPlatformBitmap(bitmap);
  ASSERT_TRUE(back.HasMask());
  EXPECT_TRUE(SameBuffer(back.bitmap, strip.bitmap));
  EXPECT_TRUE(SameBuffer(back.mask, strip.mask));

  strip.SetHasMask(false);
  EXPECT_FALSE(ToPlatformBitmap(strip).HasMask());
  EXPECT_FALSE(FromPlatformBitmap(ToPlatformBitmap(strip)).HasMask());
}

TEST(PlatformBitmaps, PlatformBitmapsBeyondThePictureLimitAreRefused) {
  // 5 × 2^24 one-bit pixels: a 10 MB bitmap, but more pixels than a picture may have.
  const platform::TBitmap wide(1 << 24, 5, platform::PixelFormat::pf1bit);
  EXPECT_THROW(FromPlatformBitmap(wide), std::length_error);
}

}  // namespace
}  // namespace tessival::imaging
