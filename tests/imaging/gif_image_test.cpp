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
  void CopyToBitmap(int x, int y, PixelImage& into) override { Log("copy", x, y, into.Width(), into.Height()); }
  void DrawBitmap(int x, int y, const PixelImage& b) override { Log("draw", x, y, b.Width(), b.Height()); }
  void StretchDraw(const TRect& d, const PixelImage&, const TRect& s, const PixelImage* mask) override {
    std::ostringstream out;
    out << "stretch " << d.left << "," << d.top << "," << d.right << "," << d.bottom << " from " << s.left << ","
        << s.top << "," << s.right << "," << s.bottom << (mask ? " masked" : "");
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
  MillisecondClock Bind() { return [this] { return now; }; }
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
  // Disposal 3 keeps the frame like 0 and 1 do.
  for (int disposal : {0, 1, 3}) {
    auto image = ThreeFrames(disposal);
    EXPECT_EQ(Picture(Composite(*image, 1)), "RR..\nRR..\n....\n");
    EXPECT_EQ(Picture(Composite(*image, 2)), "RR..\nRBB.\n.BB.\n");
    EXPECT_EQ(Picture(Composite(*image, 3)), "RR.G\nRBB.\n.BB.\n") << disposal;
  }
  auto restoring = ThreeFrames(2);
  EXPECT_EQ(Picture(Composite(*restoring, 2)), "....\n.BB.\n.BB.\n");
  EXPECT_EQ(Picture(Composite(*restoring, 3)), "...G\n....\n....\n");
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
  auto image = LoadGifImage(MakeGif(3, 2, kPalette,
                                    {Solid(1, 1, 5, 4, 2), Solid(7, 7, 2, 2, 3), Solid(0, 0, 0, 0, 1),
                                     short_table}));
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
  EXPECT_EQ(canvas.calls, (std::vector<std::string>{
                              "draw 10,20 8x6", "stretch 10,20,18,26 from 0,0,4,3 masked",
                              "draw 10,20 8x6", "stretch 12,22,16,26 from 4,0,6,2 masked",
                              "copy 10,20 8x6", "draw 10,20 8x6", "stretch 10,20,18,26 from 0,0,4,3 masked"}));
  EXPECT_EQ(image->LastRect(), (TRect{10, 20, 18, 26}));
}

TEST(GifAnimation, LoopCountTwoStopsOnTheLastFrameOfTheSecondPass) {
  GifFrameSpec a = Solid(0, 0, 1, 1, 1), b = Solid(0, 0, 1, 1, 2);
  a.delay = 5;   // 50 ms
  b.delay = 0;   // 10 ms, raised to 30
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
  auto image = LoadGifImage(MakeGif(1, 1, kPalette, {Solid(0, 0, 1, 1, 1), Solid(0, 0, 1, 1, 2)}), clock.Bind());
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
