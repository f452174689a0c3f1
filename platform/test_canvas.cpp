#include "platform/test_canvas.h"

#include <algorithm>

#include "platform/display_depth.h"
#include "platform/program_palette.h"

namespace tessival::platform {
namespace {

TBitmap ScreenBitmap(int width, int height) {
  if (DisplayDepth::Class() == 24) return TBitmap(width, height, PixelFormat::pf32bit);
  TBitmap bitmap(width, height, PixelFormat::pf8bit);
  const TPalette* program = ProgramPalette();
  bitmap.SetPalette(program ? *program : SystemPalette());
  return bitmap;
}

}  // namespace

TestCanvas::TestCanvas(int width, int height) : own_(ScreenBitmap(width, height)), target_(&own_) {
  own_.Fill(RGB(0xFF, 0xFF, 0xFF));
  InitialiseFont();
}

TestCanvas::TestCanvas(TBitmap& target) : target_(&target) { InitialiseFont(); }

int TestCanvas::AdvanceFor(const LogFont& font) {
  return std::max(1, font.PixelHeight() / 2) + (font.Bold() ? 1 : 0);
}

TextMetrics TestCanvas::MetricsFor(const LogFont& font) {
  const int h = font.PixelHeight();
  TextMetrics m;
  m.tmHeight = h;
  m.tmDescent = h / 4;
  m.tmAscent = h - m.tmDescent;
  m.tmAveCharWidth = m.tmMaxCharWidth = AdvanceFor(font);
  m.tmCharSet = font.charset;
  return m;
}

std::shared_ptr<const RealisedFont> TestCanvas::Realise(const LogFont& font) const {
  auto realised = std::make_shared<RealisedFont>();
  realised->font = font;
  realised->metrics = MetricsFor(font);
  realised->advance = AdvanceTable(AdvanceFor(font));
  return realised;
}

std::unique_ptr<Canvas> TestCanvas::CreateCompatibleCanvas(TBitmap& target) const {
  return std::make_unique<TestCanvas>(target);
}

void TestCanvas::DeviceFill(const Rect& rect, TColor color) {
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) target_->SetPixel(x, y, color);
  }
}

void TestCanvas::DevicePatBlt(const Rect& rect, RasterOp op, const TBrush& brush, Point origin) {
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const TColor result = ApplyRasterOp(op, target_->GetPixel(x, y), 0, brush.ColorAt(x, y, origin));
      target_->SetPixel(x, y, result);
    }
  }
}

void TestCanvas::DeviceBlit(Point to, const TBitmap& source, const Rect& from, RasterOp op) {
  for (int y = 0; y < from.Height(); ++y) {
    for (int x = 0; x < from.Width(); ++x) {
      const int dx = to.x + x, dy = to.y + y;
      const TColor s = source.GetPixel(from.left + x, from.top + y);
      target_->SetPixel(dx, dy, ApplyRasterOp(op, target_->GetPixel(dx, dy), s, 0));
    }
  }
}

void TestCanvas::DeviceDrawGlyphs(const GlyphRun& run) {
  const TextMetrics& m = run.font->metrics;
  const Rect bounds = DeviceBounds();
  for (std::size_t i = 0; i < run.text.size(); ++i) {
    const auto c = static_cast<unsigned char>(run.text[i]);
    if (c <= 0x20) continue;
    Rect box{run.x[i], run.baseline - m.tmAscent + 1, run.x[i] + run.font->advance[c] - 1, run.baseline};
    if (run.clip) box = IntersectRect(box, *run.clip);
    box = IntersectRect(box, bounds);
    if (!box.IsEmpty()) DeviceFill(box, run.color);
  }
}

}  // namespace tessival::platform
