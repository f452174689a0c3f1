#include "imaging/platform_animation_canvas.h"

#include <gtest/gtest.h>

#include "gif_builder.h"
#include "imaging/gif_image.h"
#include "imaging/pixel_canvas.h"
#include "platform/test_canvas.h"

namespace tessival::imaging {
namespace {

using test::GifFrameSpec;
using test::MakeGif;
using test::Solid;

constexpr int kCanvasWidth = 14, kCanvasHeight = 10;
constexpr std::uint32_t kCanvasColor = 0x336699, kDocumentColor = 0xCCAA44;

// Two frames, both with holes in transparent colour 0; the second one is restored to the
// background when it goes (disposal 2).
std::unique_ptr<TGIFImage> TwoFrames() {
  GifFrameSpec first = Solid(0, 0, 4, 3, 1);
  first.pixels = {1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0, 0};
  first.transparent = 0;
  GifFrameSpec second = Solid(1, 1, 3, 2, 2, 2);
  second.pixels = {2, 0, 3, 0, 3, 2};
  second.transparent = 0;
  return LoadGifImage(MakeGif(4, 3, {0x000000, 0xFF0000, 0x0000FF, 0x00FF00}, {first, second}));
}

// The viewer's sequence: frame 1, frame 2, back to frame 1, at the given place and size.
void Animate(TAnimationCanvas& canvas, int x, int y, int w, int h) {
  auto image = TwoFrames();
  TSolidBackground document(kDocumentColor);
  for (int frame : {1, 2, 1}) {
    image->SetCurrentFrame(frame);
    image->DrawAnimated(canvas, x, y, w, h, document);
  }
}

TEST(PlatformAnimationCanvas, DrawsWhatTheSoftwareCanvasDraws) {
  struct Placement {
    int x, y, w, h;
  };
  for (const Placement& at : {Placement{3, 2, 4, 3}, Placement{2, 1, 8, 6}, Placement{-1, 5, 12, 9}}) {
    TPixelCanvas reference(kCanvasWidth, kCanvasHeight);
    TSolidBackground(kCanvasColor).FillBackground(reference.Surface(), 0, 0);
    Animate(reference, at.x, at.y, at.w, at.h);

    platform::TestCanvas screen(kCanvasWidth, kCanvasHeight);
    screen.FillRect({0, 0, kCanvasWidth, kCanvasHeight}, platform::RGB(0x33, 0x66, 0x99));
    TPlatformAnimationCanvas adapter(screen, screen.Target());
    Animate(adapter, at.x, at.y, at.w, at.h);

    for (int y = 0; y < kCanvasHeight; ++y) {
      for (int x = 0; x < kCanvasWidth; ++x) {
        const std::uint32_t rgb = reference.Surface().ColorAt(x, y);
        EXPECT_EQ(screen.PixelAt(x, y), platform::RGB(rgb >> 16, rgb >> 8, rgb))
            << "at " << x << "," << y << " drawn at " << at.x << "," << at.y << " " << at.w << "x"
            << at.h;
      }
    }
  }
}

TEST(PlatformAnimationCanvas, ReadsBackThroughTheWindowOrigin) {
  platform::TestCanvas screen(6, 4);
  screen.FillRect({0, 0, 6, 4}, platform::RGB(0, 0, 0));
  screen.FillRect({2, 1, 3, 2}, platform::RGB(0x10, 0x20, 0x30));
  screen.SetWindowOrgEx(10, 20);  // logical (12, 21) is device (2, 1)
  TPlatformAnimationCanvas adapter(screen, screen.Target());
  PixelImage under(2, 2, 24);
  adapter.CopyToBitmap(11, 20, under);
  EXPECT_EQ(under.ColorAt(0, 0), 0u);
  EXPECT_EQ(under.ColorAt(1, 1), 0x102030u);
  // Device (5, 3) is the surface's corner: the rest lies outside and stays as it was.
  adapter.CopyToBitmap(15, 23, under);
  EXPECT_EQ(under.ColorAt(0, 0), 0u);
  EXPECT_EQ(under.ColorAt(1, 1), 0x102030u);
}

TEST(PlatformAnimationCanvas, WithoutMaskTheStretchReplacesTheCanvas) {
  platform::TestCanvas screen(4, 2);
  screen.FillRect({0, 0, 4, 2}, platform::RGB(0x80, 0x40, 0x20));
  TPlatformAnimationCanvas adapter(screen, screen.Target());
  PixelImage picture(2, 1, 24);
  picture.Row(0)[0] = 0x01;  // blue of pixel 0; pixel 1 stays black
  adapter.StretchDraw({0, 0, 4, 2}, picture, {0, 0, 2, 1}, nullptr);
  for (int y = 0; y < 2; ++y) {
    EXPECT_EQ(screen.PixelAt(1, y), platform::RGB(0, 0, 1));
    EXPECT_EQ(screen.PixelAt(3, y), platform::RGB(0, 0, 0));
  }
}

TEST(PlatformAnimationCanvas, RefusesAMaskOfAnotherSize) {
  platform::TestCanvas screen(4, 4);
  TPlatformAnimationCanvas adapter(screen, screen.Target());
  const PixelImage picture(4, 4, 24), mask(2, 4, 1);
  EXPECT_THROW(adapter.StretchDraw({0, 0, 4, 4}, picture, {0, 0, 4, 4}, &mask), std::invalid_argument);
}

}  // namespace
}  // namespace tessival::imaging
