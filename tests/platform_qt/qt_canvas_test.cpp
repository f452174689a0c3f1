#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QWidget>

#include "../platform/canvas_contract.h"
#include "platform/qt/qt_bitmap.h"
#include "platform/test_canvas.h"

namespace tessival::platform::contract {

struct QtCanvasFactory {
  static std::unique_ptr<Canvas> On(TBitmap& target) { return std::make_unique<QtCanvas>(target); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, CanvasContract, QtCanvasFactory);

}  // namespace tessival::platform::contract

namespace tessival::platform {
namespace {

// A scene of everything but text: fills, pens, frames, regions, blits, stretching and
// patterns.
void DrawShapes(Canvas& c, const TBitmap& picture, const TBitmap& mask) {
  c.SetWindowOrgEx(-3, -2);
  c.FillRect({0, 0, 60, 40}, RGB(0xF0, 0xE0, 0xD0));
  c.SelectPen({RGB(0x20, 0x40, 0x80), 2});
  c.SelectBrush(TBrush::Solid(PALETTERGB(0xC0, 0xFF, 0xC0)));
  c.Rectangle(2, 2, 30, 20);
  c.MoveToEx(0, 39);
  c.LineTo(55, 25);
  c.SelectPen({SystemColorFlag | COLOR_BTNSHADOW, 1});
  c.MoveToEx(40, 2);
  c.LineTo(40, 30);
  c.FillRgn(TRegion::Combine(TRegion::CreateEllipticRgn(30, 5, 58, 33),
                             TRegion::CreateRectRgn(38, 12, 50, 26), RegionCombine::RGN_DIFF),
            RGB(0x90, 0x10, 0x10));
  c.BitBlt(5, 22, 8, 8, mask, 0, 0, RasterOp::SRCAND);
  c.BitBlt(5, 22, 8, 8, picture, 0, 0, RasterOp::SRCPAINT);
  c.StretchBlt(15, 22, 13, 11, picture, 1, 1, 6, 5, RasterOp::SRCCOPY);
  c.SetBrushOrgEx(3, 1);
  c.SelectBrush(TBrush::Checkered());
  c.PatBlt(32, 30, 20, 8, RasterOp::PATINVERT);
  c.DrawFocusRect({1, 1, 57, 37});
  c.InvertRect({44, 0, 50, 6});
}

TEST(QtCanvas, DrawsTheSameShapesAsTheTestCanvasPixelForPixel) {
  TBitmap picture(8, 8, PixelFormat::pf24bit), mask(8, 8, PixelFormat::pf1bit);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool opaque = (x - 4) * (x - 4) + (y - 4) * (y - 4) < 10;
      picture.SetPixel(x, y, opaque ? RGB(32 * x, 255 - 32 * y, 100) : 0);
      mask.SetRaw(x, y, opaque ? 0 : 1);
    }
  }
  TBitmap expected(64, 44, PixelFormat::pf32bit), actual(64, 44, PixelFormat::pf32bit);
  TestCanvas test(expected);
  QtCanvas qt(actual);
  DrawShapes(test, picture, mask);
  DrawShapes(qt, picture, mask);
  qt.Flush();
  int differing = 0;
  for (int y = 0; y < 44; ++y) {
    for (int x = 0; x < 64; ++x) differing += expected.GetPixel(x, y) != actual.GetPixel(x, y);
  }
  EXPECT_EQ(differing, 0);
}

TEST(QtCanvas, ClassicFaceNamesResolveToMetricCompatibleFonts) {
  EXPECT_EQ(QFontInfo(QtCanvas::QFontFor({"Times New Roman", 16, 0, 0, 0})).family(),
            "Liberation Serif");
  EXPECT_EQ(QFontInfo(QtCanvas::QFontFor({"Arial", 16, 0, 0, 0})).family(), "Liberation Sans");
  EXPECT_EQ(QFontInfo(QtCanvas::QFontFor({"Courier New", 16, 0, 0, 0})).family(), "Liberation Mono");
  EXPECT_EQ(QFontInfo(QtCanvas::QFontFor({"MS Sans Serif", 16, 0, 0, 0})).family(), "Liberation Sans");
}

TEST(QtCanvas, MissingFontFallsBackWithUsableMetrics) {
  TBitmap target(10, 10, PixelFormat::pf32bit);
  QtCanvas c(target);
  c.SelectFont({"No Such Face 4711", 14, 0, 0, 0});
  EXPECT_GT(c.GetTextMetrics().tmHeight, 10);
  EXPECT_GT(c.GetTextMetrics().tmAscent, c.GetTextMetrics().tmDescent);
  EXPECT_GT(c.GetTextExtentPoint32("abc").cx, 10);
}

TEST(QtCanvas, MeasuresLikeTheFontItResolvedTo) {
  TBitmap target(10, 10, PixelFormat::pf32bit);
  QtCanvas c(target);
  for (const char* face : {"Courier New", "Arial", "Times New Roman"}) {
    const LogFont font{face, 20, 0, 0, 0};
    c.SelectFont(font);
    const QFontMetrics fm(QtCanvas::QFontFor(font));
    EXPECT_EQ(c.GetTextExtentPoint32("Zwetschge am Waldrand").cx,
              fm.horizontalAdvance("Zwetschge am Waldrand"))
        << face;
    EXPECT_EQ(c.GetTextMetrics().tmAscent, fm.ascent());
  }
  // Bold widens a proportional face.
  c.SelectFont({"Arial", 20, 0, 0, 0});
  const int regular = c.GetTextExtentPoint32("Wasserwaage").cx;
  c.SelectFont({"Arial", 20, fsBold, 0, 0});
  EXPECT_GT(c.GetTextExtentPoint32("Wasserwaage").cx, regular);
}

TEST(QtCanvas, ScreenContextMeasuresAtTheDisplayDepth) {
  const auto screen = QtCanvas::ScreenContext();
  screen->SelectFont({"Arial", 16, 0, 0, 0});
  EXPECT_GT(screen->GetTextExtentPoint32("Hallo").cx, 20);
  EXPECT_EQ(screen->GetDeviceCaps(DeviceCap::BITSPIXEL), 32);
  ScopedDisplayDepth depth(8);
  EXPECT_EQ(screen->GetDeviceCaps(DeviceCap::BITSPIXEL), 8);
  EXPECT_EQ(screen->CreateCompatibleBitmap(2, 2).Palette(), MakeProgramPalette());
}

TEST(QtCanvas, PaintsOnAWidgetThroughItsPainter) {
  class Panel : public QWidget {
   protected:
    void paintEvent(QPaintEvent*) override {
      QPainter painter(this);
      QtCanvas c(painter);
      c.FillRect({0, 0, width(), height()}, RGB(0xFF, 0xFF, 0xFF));
      c.FillRect({2, 2, 6, 6}, RGB(0x10, 0x20, 0x30));
      c.InvertRect({4, 4, 8, 8});
    }
  } panel;
  panel.resize(10, 10);
  const QImage image = panel.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(image.pixel(3, 3), qRgb(0x10, 0x20, 0x30));
  EXPECT_EQ(image.pixel(5, 5), qRgb(0xEF, 0xDF, 0xCF));
  EXPECT_EQ(image.pixel(7, 7), qRgb(0, 0, 0));
}

}  // namespace
}  // namespace tessival::platform
