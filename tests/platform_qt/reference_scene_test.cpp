// The reference scene against its checked-in renders: exactly for the test canvas (its
// output is fully determined), within a tolerance for the Qt canvas (glyph rasterising may
// shift by a shade between font library versions; shapes may not).
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "platform/qt/qt_bitmap.h"
#include "platform/qt/qt_canvas.h"
#include "platform/test_canvas.h"
#include "tools/reference_render/reference_scene.h"

namespace tessival::platform {
namespace {

struct Difference {
  int pixels_off = 0;  // pixels whose largest channel difference exceeds the threshold
  int largest = 0;     // largest channel difference seen
};

Difference Compare(const TBitmap& actual, const QImage& reference, int threshold) {
  Difference d;
  for (int y = 0; y < actual.Height(); ++y) {
    for (int x = 0; x < actual.Width(); ++x) {
      const TColor a = actual.GetPixel(x, y);
      const QRgb r = reference.pixel(x, y);
      const int diff = std::max({std::abs(static_cast<int>(GetRValue(a)) - qRed(r)),
                                 std::abs(static_cast<int>(GetGValue(a)) - qGreen(r)),
                                 std::abs(static_cast<int>(GetBValue(a)) - qBlue(r))});
      d.largest = std::max(d.largest, diff);
      d.pixels_off += diff > threshold;
    }
  }
  return d;
}

QImage Reference(const char* name) {
  const QImage image(QString(TESSIVAL_TEST_DATA_DIR "/") + name);
  return image.convertToFormat(QImage::Format_RGB32);
}

template <class CanvasType>
TBitmap Render() {
  TBitmap target(tools::ReferenceSceneWidth, tools::ReferenceSceneHeight, PixelFormat::pf32bit);
  CanvasType canvas(target);
  tools::DrawReferenceScene(canvas);
  canvas.Flush();
  return target;
}

TEST(ReferenceScene, TestCanvasRenderMatchesItsReferenceExactly) {
  const QImage reference = Reference("reference_scene_test_canvas.png");
  ASSERT_EQ(reference.size(), QSize(tools::ReferenceSceneWidth, tools::ReferenceSceneHeight));
  EXPECT_EQ(Compare(Render<TestCanvas>(), reference, 0).pixels_off, 0);
}

TEST(ReferenceScene, QtCanvasRenderMatchesItsReferenceWithinTolerance) {
  const QImage reference = Reference("reference_scene.png");
  ASSERT_EQ(reference.size(), QSize(tools::ReferenceSceneWidth, tools::ReferenceSceneHeight));
  const Difference d = Compare(Render<QtCanvas>(), reference, 64);
  // At most 0.2 % of the pixels (128) may differ clearly, at the edges of glyphs; the
  // smallest text run of the scene alone darkens several hundred.
  EXPECT_LE(d.pixels_off, tools::ReferenceSceneWidth * tools::ReferenceSceneHeight / 500) << d.largest;
}

}  // namespace
}  // namespace tessival::platform
