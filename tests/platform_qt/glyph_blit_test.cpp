// Text copied from the cache of blended glyphs must be the pixels Qt blends itself.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <string>

#include "platform/qt/glyph_blit_cache.h"
#include "platform/qt/qt_canvas.h"

namespace tessival::platform {
namespace {

constexpr int kWidth = 360;
constexpr int kHeight = 190;
const char* const kText = "Wortschatz \xE4rgerlich fj\xDF \"Qu\xE9'ry\" Wg_|/ 0123";

// Bands of plain colours, a patterned picture in the middle and text over all of them.
void DrawScene(Canvas& c) {
  c.FillRect({0, 0, kWidth, kHeight}, RGB(0xFF, 0xFF, 0xFF));
  c.FillRect({0, 60, kWidth, 110}, RGB(0x00, 0x00, 0x80));
  c.FillRect({0, 110, kWidth, 150}, RGB(0xC0, 0xC0, 0xC0));
  c.SelectBrush(TBrush::Checkered());
  c.PatBlt(200, 0, 60, kHeight, RasterOp::PATCOPY);
  c.SetBkMode(BkMode::TRANSPARENT);
  const LogFont fonts[] = {{"Arial", 16, 0, 0, 0},
                           {"Times New Roman", 13, fsBold, 0, 0},
                           {"Courier New", 20, fsItalic, 0, 0},
                           {"Arial", 27, fsBold | fsItalic, 0, 0}};
  const TColor colors[] = {RGB(0, 0, 0), RGB(0, 0, 0xEE), RGB(0xFF, 0xFF, 0xFF), RGB(0x80, 0x00, 0x40)};
  int y = -6;  // the first line starts above the picture's top edge
  for (int i = 0; i < 8; ++i) {
    c.SelectFont(fonts[i % 4]);
    c.SetTextColor(colors[(i + i / 4) % 4]);
    c.TextOut(-7 + 3 * i, y, kText);  // and every line starts left of it
    y += 24;
  }
  // A run clipped through the middle of its glyphs.
  c.SelectFont(fonts[0]);
  c.SetTextColor(RGB(0x10, 0x60, 0x10));
  const Rect clip{40, 152, 150, 160};
  c.ExtTextOut(30, 148, ETO_CLIPPED, &clip, kText);
  // Selected text: the glyphs on a background filled for them.
  c.SetBkMode(BkMode::OPAQUE);
  c.SetBkColor(RGB(0, 0, 0x80));
  c.SetTextColor(RGB(0xFF, 0xFF, 0xFF));
  c.TextOut(150, 166, "markiert \xE4\xF6\xFC");
}

QImage SceneWithQtBlending() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  {
    QtCanvas canvas(painter);  // a borrowed painter is always left to Qt
    DrawScene(canvas);
  }
  return image;
}

QImage SceneWithCopiedGlyphs() {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  {
    QtCanvas canvas(image);
    DrawScene(canvas);
  }
  return image;
}

int DifferingPixels(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) differing += a.pixel(x, y) != b.pixel(x, y);
  }
  return differing;
}

TEST(GlyphBlit, CopiedTextIsPixelForPixelWhatQtBlends) {
  const QImage expected = SceneWithQtBlending();
  // Once with the glyphs blended as they are met, once with all of them cached.
  const QImage first = SceneWithCopiedGlyphs();
  const QImage second = SceneWithCopiedGlyphs();
  EXPECT_EQ(DifferingPixels(expected, first), 0);
  EXPECT_EQ(DifferingPixels(expected, second), 0);
  // The scene has text in it at all: a blank scene would pass as well.
  QImage blank = expected.copy();
  {
    QtCanvas canvas(blank);
    canvas.FillRect({0, 0, kWidth, kHeight}, RGB(0xFF, 0xFF, 0xFF));
  }
  EXPECT_GT(DifferingPixels(expected, blank), 1000);
}

TEST(GlyphBlit, CacheKeepsAtMostItsCapacityAndStillDrawsEvictedGlyphs) {
  const QRawFont font = QRawFont::fromFont(QtCanvas::QFontFor({"Arial", 16, 0, 0, 0}));
  const quint32 glyph = font.glyphIndexesForString(QStringLiteral("W")).front();
  GlyphBlitCache cache(3);
  const QRgb paper = 0xFFFFFFFF;
  const BlendedGlyph first = cache.Blended(font, 1, glyph, 0xFF000000, paper);
  for (QRgb ink = 0xFF000001; ink < 0xFF000010; ++ink) {
    cache.Blended(font, 1, glyph, ink, paper);
    EXPECT_LE(cache.Size(), 3U);
  }
  const BlendedGlyph& again = cache.Blended(font, 1, glyph, 0xFF000000, paper);
  EXPECT_TRUE(again.copyable);
  EXPECT_EQ(again.box, first.box);
  EXPECT_EQ(again.pixels, first.pixels);
  // A "W" of 16 px is several pixels wide and tall, and its box holds pixels of each row.
  EXPECT_GT(first.box.width(), 5);
  EXPECT_GT(first.box.height(), 5);
  EXPECT_EQ(first.pixels.size(), static_cast<std::size_t>(first.box.width() * first.box.height()));
}

}  // namespace
}  // namespace tessival::platform
