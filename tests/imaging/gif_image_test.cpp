#include "imaging/gif_image.h"

#include <gtest/gtest.h>

#include <sstream>

#include "gif_builder.h"
#include "imaging/pixel_canvas.h"

namespace tessival::imaging {
namespace {

using test::GifBytes;
using test::GifFrameSpec;
using test::MakeGif;
using test::Solid;

constexpr std::uint32_t kRed = 0xFF0000, kBlue = 0x0000FF, kGreen = 0x00FF00, kWhite = 0xFFFFFF;
const std::vector<std::uint32_t> kPalette = {0x000000, kRed, kBlue, kGreen};

// A canvas that records every call and draws nothing.
class RecordingCanvas final : public TAnimationCanvas {
 public:
  std::vector<std::string> calls;
  void CopyToBitmap(int x, int y, PixelImage& into) override {
    Log("copy", x, y, into.Width(), into.Height());
  }
  void DrawBitmap(int x, int y, const PixelImage& b) override {
    Log("draw", x, y, b.Width(), b.Height());
  }
  void StretchDraw(const TRect& d, const PixelImage&, const TRect& s, const PixelImage* mask) override {
    std::ostringstream out;
    out << "stretch " << d.left << "," << d.top << "," << d.right << "," << d.bottom << " from "
        << s.left << "," << s.top << "," << s.right << "," << s.bottom << (mask ? " masked" : "");
    calls.push_back(out.str());
  }

 private:
  void Log(const char* what, int x, int y, int w, int h) {
    calls.push_back(std::string(what) + " " + std::to_string(x) + "," + std::to_string(y) + " " +
                    std::to_string(w) + "x" + std::to_string(h));
  }
};

class RecordingBackground final : public TAnimationBackground {
 public:
  int fills = 0;
  void FillBackground(PixelImage&, int, int) override { ++fills; }
};

class RecordingPanel final : public TPaintPanel {
 public:
  std::vector<TRect> invalidated;
  void InvalidateRect(const TRect& area, bool erase) override {
    EXPECT_TRUE(erase);
    invalidated.push_back(area);
  }
};

struct FakeClock {
  std::uint32_t now = 1000;
  MillisecondClock Bind() {
    return [this] { return now; };
  }
};

// Composites frames 1..n on a white canvas the way the viewer does: the canvas is erased
// to the page background whenever the animation returns to frame 1.
PixelImage Composite(TGIFImage& image, int n) {
  TPixelCanvas canvas(image.Width(), image.Height());
  TSolidBackground white(kWhite);
  for (int frame = 1; frame <= n; ++frame) {
    image.SetCurrentFrame(frame);
    if (frame == 1) white.FillBackground(canvas.Surface(), 0, 0);
    image.DrawAnimated(canvas, 0, 0, image.Width(), image.Height(), white);
  }
  return canvas.Surface();
}

std::string Picture(const PixelImage& p) {
  std::string out;
  for (int y = 0; y < p.Height(); ++y) {
    for (int x = 0; x < p.Width(); ++x) {
      switch (p.ColorAt(x, y)) {
        case kRed: out += 'R'; break;
        case kBlue: out += 'B'; break;
        case kGreen: out += 'G'; break;
        case kWhite: out += '.'; break;
        default: out += '?'; break;
      }
    }
    out += '\n';
  }
  return out;
}

// 4 × 3 screen: frame 1 a red 2 × 2 block at (0, 0), frame 2 a blue 2 × 2 block at (1, 1),
// frame 3 a green pixel at (3, 0); each frame with `disposal`.
std::unique_ptr<TGIFImage> ThreeFrames(int disposal) {
  return LoadGifImage(MakeGif(4, 3, kPalette,
                              {Solid(0, 0, 2, 2, 1, disposal), Solid(1, 1, 2, 2, 2, disposal),
                               Solid(3, 0, 1, 1, 3, disposal)}));
}

TEST(GifAnimation, DisposalDecidesWhatTheNextFrameFinds) {
  for (int disposal : {0, 1}) {
    auto image = ThreeFrames(disposal);
    EXPECT_EQ(Picture(Composite(*image, 1)), "RR..\nRR..\n....\n");
    EXPECT_EQ(Picture(Composite(*image, 2)), "RR..\nRBB.\n.BB.\n");
    EXPECT_EQ(Picture(Composite(*image, 3)), "RR.G\nRBB.\n.BB.\n") << disposal;
  }
  auto restoring = ThreeFrames(2);
  EXPECT_EQ(Picture(Composite(*restoring, 2)), "....\n.BB.\n.BB.\n");
  EXPECT_EQ(Picture(Composite(*restoring, 3)), "...G\n....\n....\n");
  // Restoring to the previous state takes frames 1 and 2 away again: each found the page.
  auto previous = ThreeFrames(3);
  EXPECT_EQ(Picture(Composite(*previous, 2)), "....\n.BB.\n.BB.\n");
  EXPECT_EQ(Picture(Composite(*previous, 3)), "...G\n....\n....\n");
}

// What a viewer following the GIF format shows after each frame, worked out from the
// frame descriptions alone on a white page: a frame's opaque pixels are drawn over what
// the previous frames left, then its disposal takes effect before the next one.
using Screen = std::vector<std::uint32_t>;  // row-major 0xRRGGBB

std::vector<Screen> ExpectedScreens(int width, int height, const std::vector<std::uint32_t>& palette,
                                    const std::vector<GifFrameSpec>& frames) {
  Screen screen(static_cast<std::size_t>(width * height), kWhite);
  std::vector<Screen> shown;
  for (const GifFrameSpec& f : frames) {
    const Screen before = screen;
    const auto each_pixel = [&](auto&& visit) {
      for (int y = 0; y < f.height && f.top + y < height; ++y)
        for (int x = 0; x < f.width && f.left + x < width; ++x) {
          const int on_screen = (f.top + y) * width + f.left + x, in_frame = y * f.width + x;
          visit(static_cast<std::size_t>(on_screen), f.pixels[static_cast<std::size_t>(in_frame)]);
        }
    };
    each_pixel([&](std::size_t at, std::uint8_t index) {
      if (index != f.transparent) screen[at] = palette[index];
    });
    shown.push_back(screen);
    each_pixel([&](std::size_t at, std::uint8_t) {
      if (f.disposal == 2) screen[at] = kWhite;
      if (f.disposal == 3) screen[at] = before[at];
    });
  }
  return shown;
}

// Compares every pixel of `shown` with `expected` magnified `scale` times.
void ExpectScreen(const PixelImage& shown, const Screen& expected, int width, int scale,
                  const std::string& what) {
  int wrong = 0;
  for (int y = 0; y < shown.Height(); ++y)
    for (int x = 0; x < shown.Width(); ++x) {
      const int at = y / scale * width + x / scale;
      const std::uint32_t want = expected[static_cast<std::size_t>(at)];
      if (shown.ColorAt(x, y) != want && wrong++ < 3)
        ADD_FAILURE() << what << ": pixel (" << x << ", " << y << ") is " << std::hex
                      << shown.ColorAt(x, y) << ", expected " << want;
    }
}

// Frames 1..n drawn at `scale` times the size, as Composite does.
PixelImage ScaledComposite(TGIFImage& image, int n, int scale) {
  TPixelCanvas canvas(image.Width() * scale, image.Height() * scale);
  TSolidBackground white(kWhite);
  for (int frame = 1; frame <= n; ++frame) {
    image.SetCurrentFrame(frame);
    if (frame == 1) white.FillBackground(canvas.Surface(), 0, 0);
    image.DrawAnimated(canvas, 0, 0, canvas.Surface().Width(), canvas.Surface().Height(), white);
  }
  return canvas.Surface();
}

void ExpectAnimationMatches(int width, int height, const std::vector<GifFrameSpec>& frames, int scale) {
  const std::vector<std::uint32_t> palette = {0x000000, kRed,     kBlue,    kGreen,
                                              0xFFFF00, 0xFF00FF, 0x00FFFF, 0x808080};
  auto image = LoadGifImage(MakeGif(width, height, palette, frames));
  const std::vector<Screen> expected = ExpectedScreens(width, height, palette, frames);
  for (int n = 1; n <= image->NumFrames(); ++n)
    ExpectScreen(ScaledComposite(*image, n, scale), expected[static_cast<std::size_t>(n - 1)], width,
                 scale, "frame " + std::to_string(n) + " at scale " + std::to_string(scale));
}

// A frame with the given indexes, 0 transparent.
GifFrameSpec Patch(int left, int top, int w, int h, std::vector<std::uint8_t> pixels, int disposal) {
  GifFrameSpec f = Solid(left, top, w, h, 0, disposal);
  f.pixels = std::move(pixels);
  f.transparent = 0;
  return f;
}

TEST(GifAnimation, RestoreToPreviousOverABackgroundFrame) {
  // 5 × 4: a background with one hole onto the page, then two frames with holes that are
  // each taken away again. Frame 1 with disposal 3 leaves only the page for frame 2.
  for (int first_disposal : {0, 1, 3}) {
    const std::vector<GifFrameSpec> frames = {
        Patch(0, 0, 5, 4, {1, 2, 1, 2, 1, 4, 4, 4, 4, 4, 2, 1, 0, 1, 2, 5, 5, 5, 5, 5}, first_disposal),
        Patch(1, 1, 3, 2, {3, 0, 3, 6, 6, 0}, 3), Patch(2, 0, 2, 3, {7, 0, 0, 7, 6, 6}, 3)};
    SCOPED_TRACE(first_disposal);
    ExpectAnimationMatches(5, 4, frames, 1);
    ExpectAnimationMatches(5, 4, frames, 2);
  }
}

TEST(GifAnimation, RestoreToPreviousKeepsWhatEarlierFramesLeft) {
  // Frame 2 stays (disposal 0), frame 3 overlaps it and goes, frame 4 overlaps both and
  // goes; each restored area shows frame 2 where it was, not the background under it.
  const std::vector<GifFrameSpec> frames = {Patch(0, 0, 4, 4,
                                                  {1, 1, 1, 1, 2, 2, 2, 2, 1, 1, 1, 1, 2, 2, 2, 2}, 1),
                                            Patch(1, 0, 2, 3, {3, 3, 0, 3, 3, 0}, 0),
                                            Patch(0, 1, 3, 3, {4, 0, 4, 0, 5, 5, 6, 6, 0}, 3),
                                            Patch(2, 2, 2, 2, {7, 0, 7, 7}, 3)};
  ExpectAnimationMatches(4, 4, frames, 1);
  ExpectAnimationMatches(4, 4, frames, 2);
  // Drawing the same frame again (a repaint) shows the same picture.
  const std::vector<std::uint32_t> palette = {0x000000, kRed,     kBlue,    kGreen,
                                              0xFFFF00, 0xFF00FF, 0x00FFFF, 0x808080};
  auto image = LoadGifImage(MakeGif(4, 4, palette, frames));
  TPixelCanvas canvas(4, 4);
  TSolidBackground white(kWhite);
  for (int frame = 1; frame <= 3; ++frame) {
    image->SetCurrentFrame(frame);
    image->DrawAnimated(canvas, 0, 0, 4, 4, white);
  }
  image->DrawAnimated(canvas, 0, 0, 4, 4, white);
  ExpectScreen(canvas.Surface(), ExpectedScreens(4, 4, palette, frames)[2], 4, 1, "frame 3 drawn twice");
}

TEST(GifAnimation, TransparentPixelsShowWhatIsBehind) {
  GifFrameSpec holes = Solid(0, 0, 4, 3, 2);
  holes.pixels = {2, 0, 2, 0, 0, 2, 0, 2, 2, 2, 0, 0};
  holes.transparent = 0;
  auto image = LoadGifImage(MakeGif(4, 3, kPalette, {Solid(0, 0, 4, 3, 1), holes}));
  EXPECT_TRUE(image->IsTransparent());
  EXPECT_EQ(Picture(Composite(*image, 2)), "BRBR\nRBRB\nBBRR\n");
  ASSERT_NE(image->Mask(), nullptr);
  // Frame 1 has no transparent colour; frame 2's holes share the mask's first byte.
  for (int y = 0; y < 3; ++y) EXPECT_EQ(image->Mask()->Row(y)[0], 0) << y;
}

TEST(GifAnimation, LocalTablesOverrideTheGlobalOne) {
  GifFrameSpec local = Solid(0, 0, 2, 1, 1);
  local.local_table = {kGreen, kBlue};
  auto image = LoadGifImage(MakeGif(2, 1, kPalette, {Solid(0, 0, 2, 1, 1), local}));
  EXPECT_EQ(Picture(Composite(*image, 1)), "RR\n");
  EXPECT_EQ(Picture(Composite(*image, 2)), "BB\n");
}

TEST(GifAnimation, FramesOutsideTheScreenAreCutAtItsEdge) {
  // A frame reaching past the screen and one starting beyond it, plus a zero-sized one
  // and one whose indexes run past its 2-entry table (black).
  GifFrameSpec short_table = Solid(0, 0, 1, 1, 3);
  short_table.local_table = {kRed, kRed};
  auto image = LoadGifImage(
      MakeGif(3, 2, kPalette,
              {Solid(1, 1, 5, 4, 2), Solid(7, 7, 2, 2, 3), Solid(0, 0, 0, 0, 1), short_table}));
  EXPECT_EQ(Picture(Composite(*image, 1)), "...\n.BB\n");
  EXPECT_EQ(Picture(Composite(*image, 3)), "...\n.BB\n");
  EXPECT_EQ(Picture(Composite(*image, 4)), "?..\n.BB\n");
}

TEST(GifAnimation, DrawingGoesThroughTheCanvasInOrder) {
  GifFrameSpec second = Solid(1, 1, 2, 2, 2);
  second.transparent = 0;
  FakeClock clock;
  auto image = LoadGifImage(MakeGif(4, 3, kPalette, {Solid(0, 0, 4, 3, 1), second}), clock.Bind());
  RecordingCanvas canvas;
  RecordingBackground document;
  image->DrawAnimated(canvas, 10, 20, 8, 6, document);  // shown at twice the size
  image->SetCurrentFrame(2);
  image->DrawAnimated(canvas, 10, 20, 8, 6, document);
  image->SetCurrentFrame(1);
  image->DrawAnimated(canvas, 10, 20, 8, 6, document);
  EXPECT_EQ(document.fills, 1);
  EXPECT_EQ(canvas.calls,
            (std::vector<std::string>{"draw 10,20 8x6", "stretch 10,20,18,26 from 0,0,4,3 masked",
                                      "draw 10,20 8x6", "stretch 12,22,16,26 from 4,0,6,2 masked",
                                      "copy 10,20 8x6", "draw 10,20 8x6",
                                      "stretch 10,20,18,26 from 0,0,4,3 masked"}));
  EXPECT_EQ(image->LastRect(), (TRect{10, 20, 18, 26}));
}

TEST(GifAnimation, LoopCountTwoStopsOnTheLastFrameOfTheSecondPass) {
  GifFrameSpec a = Solid(0, 0, 1, 1, 1), b = Solid(0, 0, 1, 1, 2);
  a.delay = 5;  // 50 ms
  b.delay = 0;  // 10 ms, raised to 30
  FakeClock clock;
  auto image = LoadGifImage(MakeGif(1, 1, kPalette, {a, b}, test::LoopExtension(2)), clock.Bind());
  EXPECT_EQ(image->LoopCount(), 2);
  EXPECT_EQ(image->Frames()[0].FrameDelay, 50);
  EXPECT_EQ(image->Frames()[1].FrameDelay, 30);
  RecordingPanel panel;
  image->AdvanceAnimation(panel);  // not animating yet
  image->SetAnimate(true);
  std::vector<int> shown;
  for (int tick = 0; tick < 40 && image->Animate(); ++tick) {
    clock.now += 10;
    image->AdvanceAnimation(panel);
    shown.push_back(image->CurrentFrame());
  }
  // 50 ms on frame 1, 30 ms on frame 2, twice, then it stays on frame 2.
  EXPECT_EQ(shown, (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 2, 2, 2, 2}));
  EXPECT_FALSE(image->Animate());
  EXPECT_EQ(panel.invalidated.size(), 3u);
}

TEST(GifAnimation, WithoutLoopExtensionItLoopsForever) {
  FakeClock clock;
  auto image = LoadGifImage(MakeGif(1, 1, kPalette, {Solid(0, 0, 1, 1, 1), Solid(0, 0, 1, 1, 2)}),
                            clock.Bind());
  EXPECT_EQ(image->LoopCount(), 0);
  RecordingPanel panel;
  image->SetAnimate(true);
  for (int i = 0; i < 100; ++i) {
    clock.now += 30;
    image->AdvanceAnimation(panel);
  }
  EXPECT_TRUE(image->Animate());
  EXPECT_EQ(image->CurrentLoop(), 51);
}

TEST(GifAnimation, CurrentFrameWrapsAndRemembersTheDisposalLeft) {
  auto image = ThreeFrames(2);
  EXPECT_EQ(image->LeftDisposal(), 2);  // an animated image starts as if leaving disposal 2
  image->SetCurrentFrame(0);
  EXPECT_EQ(image->CurrentFrame(), 3);
  image->SetCurrentFrame(4);
  EXPECT_EQ(image->CurrentFrame(), 1);
}

TEST(GifAnimation, CopiesShareTheStripAndOutliveTheOriginal) {
  auto original = ThreeFrames(0);
  original->SetCurrentFrame(3);
  TGIFImage copy(*original);
  EXPECT_EQ(&copy.Strip(), &original->Strip());
  EXPECT_EQ(copy.CurrentFrame(), 1);
  EXPECT_EQ(copy.LeftDisposal(), 2);
  original.reset();
  EXPECT_EQ(Picture(Composite(copy, 3)), "RR.G\nRBB.\n.BB.\n");
}

}  // namespace
}  // namespace tessival::imaging
