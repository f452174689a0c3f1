#include "platform/test_canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "canvas_contract.h"
#include "platform/display_depth.h"

namespace tessival::platform::contract {

struct TestCanvasFactory {
  static std::unique_ptr<Canvas> On(TBitmap& target) { return std::make_unique<TestCanvas>(target); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Test, CanvasContract, TestCanvasFactory);

}  // namespace tessival::platform::contract

namespace tessival::platform {
namespace {

using ::testing::ElementsAre;

TEST(TestCanvas, MetricsDependOnHeightAndBoldOnly) {
  TestCanvas c(10, 10);
  c.SelectFont({"Times New Roman", 16, fsItalic | fsUnderline, 0, 0});
  EXPECT_EQ(c.GetTextMetrics().tmHeight, 16);
  EXPECT_EQ(c.GetTextMetrics().tmAscent, 12);
  EXPECT_EQ(c.GetTextMetrics().tmDescent, 4);
  EXPECT_EQ(c.GetTextMetrics().tmExternalLeading, 0);
  EXPECT_EQ(c.GetTextExtentPoint32("Hallo Welt"), (Size{80, 16}));
  c.SelectFont({"Courier New", 16, fsBold, 0, 0});
  EXPECT_EQ(c.GetTextExtentPoint32("Hallo Welt").cx, 90);
  EXPECT_EQ(c.GetTextMetrics().tmMaxCharWidth, 9);
  c.SelectFont({"Arial", 0, 0, 0, 0});  // default height
  EXPECT_EQ(c.GetTextMetrics().tmHeight, 16);
  c.SelectFont({"Arial", 1, 0, 0, 0});
  EXPECT_EQ(c.GetTextExtentPoint32("ab").cx, 2);  // never a zero advance
  c.SelectFont({"Arial", -16, 0, 0, 0});          // a negated height means its size
  EXPECT_EQ(c.GetTextMetrics().tmHeight, 16);
  c.SelectFont({"Arial", 2000000000, 0, 0, 0});
  EXPECT_EQ(c.GetTextMetrics().tmHeight, MaxFontHeight);
}

TEST(TestCanvas, NoColorDrawsNothing) {
  TestCanvas c(8, 8);
  c.FillRect({0, 0, 8, 8}, NoColor);
  c.SelectFont({"Arial", 8, fsUnderline, NoColor, 0});
  c.SetBkColor(NoColor);
  c.TextOut(0, 0, "abc");
  for (int i = 0; i < 8; ++i) EXPECT_EQ(c.PixelAt(i, i), RGB(0xFF, 0xFF, 0xFF)) << i;
}

TEST(TestCanvas, HostileCoordinatesAreClippedNotWalked) {
  TestCanvas c(8, 8);
  c.SelectPen({RGB(0, 0, 0), 1});
  c.MoveToEx(-2000000000, -2000000000);
  c.LineTo(2000000000, 2000000000);  // the diagonal through the whole canvas
  for (int i = 0; i < 8; ++i) EXPECT_EQ(c.PixelAt(i, i), RGB(0, 0, 0)) << i;
  EXPECT_EQ(c.PixelAt(1, 0), RGB(0xFF, 0xFF, 0xFF));
  c.SetWindowOrgEx(-2147483647 - 1, 2147483647);
  c.DrawFocusRect({-2147483647 - 1, -2147483647 - 1, 2147483647, 2147483647});
  c.SetWindowOrgEx(0, 0);
  c.StretchBlt(-2147483647, -5, 2147483647, 2147483647, c.Target(), 0, 0, 3, 3, RasterOp::SRCCOPY);
  c.SetTextJustification(2147483647, 1);
  EXPECT_EQ(c.GetTextExtentPoint32("a b c").cx, CoordinateLimit);
  c.TextOut(2147483647, 2147483647, "x y");
}

TEST(TestCanvas, GlyphsAreBoxesBetweenAscentAndBaseline) {
  TestCanvas c(20, 20);
  c.SelectFont({"Arial", 8, 0, RGB(0, 0, 0), 0});  // ascent 6, advance 4
  c.SetBkMode(BkMode::TRANSPARENT);
  c.SetTextAlign(TA_BASELINE);
  c.TextOut(1, 10, "a b");
  auto row = [&](int y) {
    std::string out;
    for (int x = 0; x < 14; ++x) out += c.PixelAt(x, y) == RGB(0xFF, 0xFF, 0xFF) ? '.' : '#';
    return out;
  };
  EXPECT_EQ(row(4), "..............");
  EXPECT_EQ(row(5), ".###.....###..");
  EXPECT_EQ(row(9), ".###.....###..");
  EXPECT_EQ(row(10), "..............");
}

TEST(TestCanvas, RecordsTheOperationsItWasAskedFor) {
  TestCanvas c(20, 20);
  c.SelectFont({"Arial", 10, 0, 0, 0});
  c.FillRect({0, 0, 5, 5}, RGB(0x12, 0x34, 0x56));
  c.SetTextAlign(TA_BASELINE | TA_UPDATECP);
  c.MoveToEx(2, 12);
  c.TextOut(0, 0, "ab");
  c.ExtTextOut(0, 0, ETO_CLIPPED, nullptr, "c");
  EXPECT_THAT(c.Ops(), ElementsAre("SelectFont Arial 10", "FillRect 0,0,5,5 #123456",
                                   "TextOut 2,12 \"ab\"", "ExtTextOut 12,12 \"c\""));
}

TEST(TestCanvas, ScreenFormatFollowsTheDisplayClass) {
  {
    ScopedDisplayDepth depth(8);
    TestCanvas c(4, 4);
    EXPECT_EQ(c.Target().BitsPerPixel(), 8);
    EXPECT_EQ(c.Target().Palette(), MakeProgramPalette());
    EXPECT_EQ(c.CreateCompatibleBitmap(2, 2).BitsPerPixel(), 8);
    EXPECT_EQ(c.GetDeviceCaps(DeviceCap::NUMCOLORS), 20);
    EXPECT_EQ(c.PixelAt(0, 0), RGB(0xFF, 0xFF, 0xFF));
  }
  TestCanvas c(4, 4);
  EXPECT_EQ(c.Target().BitsPerPixel(), 32);
  EXPECT_EQ(c.GetDeviceCaps(DeviceCap::BITSPIXEL), 32);
  EXPECT_EQ(c.GetDeviceCaps(DeviceCap::NUMCOLORS), -1);
}

TEST(TestCanvas, MemoryCanvasDrawsIntoTheCallersBitmap) {
  TestCanvas screen(8, 8);
  TBitmap bitmap = screen.CreateCompatibleBitmap(3, 3);
  auto memory = screen.CreateCompatibleCanvas(bitmap);
  memory->FillRect({1, 1, 2, 2}, RGB(1, 2, 3));
  EXPECT_EQ(bitmap.GetPixel(1, 1), RGB(1, 2, 3));
  screen.BitBlt(4, 4, 3, 3, bitmap, 0, 0, RasterOp::SRCCOPY);
  EXPECT_EQ(screen.PixelAt(5, 5), RGB(1, 2, 3));
  EXPECT_EQ(screen.PixelAt(4, 4), RGB(0, 0, 0));  // new bitmaps are black
}

}  // namespace
}  // namespace tessival::platform
