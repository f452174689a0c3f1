// The background picture tiled behind a page, on the deterministic canvas.
#include <gtest/gtest.h>

#include <memory>

#include "platform/test_canvas.h"
#include "viewer/background_tiles.h"

namespace tessival::viewer {
namespace {

constexpr platform::TColor kRed = 0x0000FF;
constexpr platform::TColor kBlue = 0xFF0000;
constexpr platform::TColor kPage = 0xE6FEFF;

// A 4 x 2 picture: the left half red, the right half blue.
platform::TMyBitmap Stripes() {
  platform::TMyBitmap picture(4, 2, platform::PixelFormat::pf32bit);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) picture.SetPixel(x, y, x < 2 ? kRed : kBlue);
  }
  return picture;
}

TEST(BackgroundTilesTest, TilesFollowTheScrollPosition) {
  const platform::TMyBitmap picture = Stripes();
  platform::TestCanvas canvas(12, 4);
  PaintBackground(canvas, platform::Rect{0, 0, 12, 4}, kPage, &picture, 0, 0);
  EXPECT_EQ(canvas.PixelAt(0, 0), kRed);
  EXPECT_EQ(canvas.PixelAt(2, 3), kBlue);
  EXPECT_EQ(canvas.PixelAt(11, 3), kBlue);
  // Scrolled one pixel sideways: the grid moves one pixel left.
  PaintBackground(canvas, platform::Rect{0, 0, 12, 4}, kPage, &picture, 1, 0);
  EXPECT_EQ(canvas.PixelAt(0, 0), kRed);
  EXPECT_EQ(canvas.PixelAt(1, 0), kBlue);
  EXPECT_EQ(canvas.PixelAt(3, 0), kRed);
  // A clip inside the panel is drawn on the same grid.
  PaintBackground(canvas, platform::Rect{5, 1, 7, 3}, kPage, &picture, 0, 1);
  EXPECT_EQ(canvas.PixelAt(5, 1), kRed);
  EXPECT_EQ(canvas.PixelAt(6, 2), kBlue);
}

TEST(BackgroundTilesTest, MaskShowsThePageColourThroughWhateverColourLiesUnderIt) {
  platform::TMyBitmap picture = Stripes();
  // Transparent where blue: the blue must not tint the page colour there.
  auto mask = std::make_unique<platform::TBitmap>(4, 2, platform::PixelFormat::pf1bit);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) mask->SetPixel(x, y, x < 2 ? 0x000000 : 0xFFFFFF);
  }
  picture.SetMask(std::move(mask));
  platform::TestCanvas canvas(8, 2);
  PaintBackground(canvas, platform::Rect{0, 0, 8, 2}, kPage, &picture, 0, 0);
  EXPECT_EQ(canvas.PixelAt(1, 1), kRed);
  EXPECT_EQ(canvas.PixelAt(2, 0), kPage);
  EXPECT_EQ(canvas.PixelAt(7, 1), kPage);
}

TEST(BackgroundTilesTest, NoPictureFillsWithTheColour) {
  platform::TestCanvas canvas(4, 4);
  const platform::TMyBitmap empty;
  PaintBackground(canvas, platform::Rect{0, 0, 4, 4}, kPage, &empty, 3, 3);
  EXPECT_EQ(canvas.PixelAt(3, 3), kPage);
  PaintBackground(canvas, platform::Rect{0, 0, 4, 4}, kRed, nullptr, 0, 0);
  EXPECT_EQ(canvas.PixelAt(0, 0), kRed);
}

}  // namespace
}  // namespace tessival::viewer
