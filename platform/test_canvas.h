#pragma once
// TestCanvas: the deterministic canvas for tests and tools. It draws into a TBitmap of its
// own (or a caller's, for memory canvases) with plain integer arithmetic, uses fixed font
// metrics that depend only on the font's pixel height h and its bold bit, and keeps a
// record of the operations it was asked to do.
//
// Metrics of a font of pixel height h (LogFont::PixelHeight; the face name, italic,
// underline, strike-out and character set change nothing):
//   tmHeight = h, tmDescent = h / 4, tmAscent = h - h / 4,
//   tmInternalLeading = tmExternalLeading = 0,
//   advance of every byte (space included) = max(1, h / 2) + (bold ? 1 : 0),
//   tmAveCharWidth = tmMaxCharWidth = that advance.
// Example: h = 16 gives ascent 12, descent 4, advance 8 (9 bold).
//
// Glyphs: every byte above 0x20 is a solid box of the text colour covering columns
// [x, x + advance - 1) and rows [baseline - ascent + 1, baseline); spaces and control
// bytes draw nothing.
//
// Record entries (Ops()), one per call, in logical coordinates:
//   "TextOut x,y \"text\""  "ExtTextOut x,y \"text\""  "FillRect l,t,r,b #RRGGBB"
//   "Rectangle l,t,r,b"  "LineTo x0,y0,x1,y1"  "DrawFocusRect l,t,r,b"  "InvertRect l,t,r,b"
//   "PatBlt l,t,r,b OP"  "FillRgn l,t,r,b #RRGGBB" (the region's bounds)
//   "BitBlt l,t,r,b from x,y OP"  "StretchBlt l,t,r,b from l,t,r,b OP"
//   "SelectFont name height"  "SetTextJustification extra,count"  "SelectPalette n"
//   "RealizePalette"
// TextOut positions are where the text started (the current position when TA_UPDATECP).
#include <string>
#include <vector>

#include "platform/canvas.h"

namespace tessival::platform {

class TestCanvas : public Canvas {
 public:
  // A canvas on a bitmap of its own, in the screen's format for the display class,
  // filled with white.
  TestCanvas(int width, int height);
  // A memory canvas drawing into the caller's bitmap.
  explicit TestCanvas(TBitmap& target);

  static TextMetrics MetricsFor(const LogFont& font);
  static int AdvanceFor(const LogFont& font);

  const TBitmap& Target() const { return *target_; }
  TColor PixelAt(int x, int y) const { return target_->GetPixel(x, y); }
  const std::vector<std::string>& Ops() const { return ops_; }
  void ClearOps() { ops_.clear(); }

  std::unique_ptr<Canvas> CreateCompatibleCanvas(TBitmap& target) const override;

 protected:
  Rect DeviceBounds() const override { return {0, 0, target_->Width(), target_->Height()}; }
  int DeviceBitsPerPixel() const override { return target_->BitsPerPixel(); }
  void DeviceFill(const Rect& rect, TColor color) override;
  void DevicePatBlt(const Rect& rect, RasterOp op, const TBrush& brush, Point origin) override;
  void DeviceBlit(Point to, const TBitmap& source, const Rect& from, RasterOp op) override;
  void DeviceDrawGlyphs(const GlyphRun& run) override;
  std::shared_ptr<const RealisedFont> Realise(const LogFont& font) const override;
  bool Recording() const override { return true; }
  void Record(std::string entry) override { ops_.push_back(std::move(entry)); }

 private:
  TBitmap own_;
  TBitmap* target_;
  std::vector<std::string> ops_;
};

}  // namespace tessival::platform
