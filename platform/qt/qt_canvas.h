#pragma once
// QtCanvas: the canvas on QPainter, for widgets, QImages and memory bitmaps.
//
// Raster operations run through the raster engine's composition modes (RasterOp_*), so
// they need a raster paint device: a QImage, a TBitmap, or a widget's raster backing
// store. Fonts resolve through fontconfig: "Times New Roman", "Arial" and "Courier New"
// find their metric-compatible stand-ins, "MS Sans Serif" is sent to the sans-serif one,
// and a font that is not installed falls back to the default family. Each font is
// realised once per process: its metrics and the rounded advance of each byte of the code
// page, asked of Qt the first time the byte is measured and never again.
#include <QImage>
#include <QPainter>
#include <memory>
#include <optional>

#include "platform/canvas.h"

namespace tessival::platform {

class QtCanvas : public Canvas {
 public:
  // Paints with an active painter (on a widget or image); the painter must outlive the
  // canvas and gets its state back when the canvas goes. The device counts as the screen
  // (its depth is the display class).
  explicit QtCanvas(QPainter& painter);
  // Paints on an image (32 bits).
  explicit QtCanvas(QImage& image);
  // A memory canvas drawing into a bitmap; a bitmap of other than 32 bits is drawn on a
  // 32-bit copy and written back by Flush (and on destruction).
  explicit QtCanvas(TBitmap& target);
  ~QtCanvas() override;

  std::unique_ptr<Canvas> CreateCompatibleCanvas(TBitmap& target) const override;
  void Flush() override;

  // A context for measuring outside painting (what GetDC gave): a canvas on a 1 x 1
  // bitmap of its own whose device depth is the display class.
  static std::unique_ptr<Canvas> ScreenContext();
  // Reads the screen's depth once into the display class (at start-up, with the
  // application object alive).
  static void RecordScreenDepth();
  // The QFont a font description is realised with.
  static QFont QFontFor(const LogFont& font);

 protected:
  Rect DeviceBounds() const override { return bounds_; }
  int DeviceBitsPerPixel() const override { return device_bits_; }
  void DeviceFill(const Rect& rect, TColor color) override;
  void DevicePatBlt(const Rect& rect, RasterOp op, const TBrush& brush, Point origin) override;
  void DeviceBlit(Point to, const TBitmap& source, const Rect& from, RasterOp op) override;
  void DeviceDrawGlyphs(const GlyphRun& run) override;
  std::shared_ptr<const RealisedFont> Realise(const LogFont& font) const override;

 private:
  void Begin(QImage& image);
  // Whether glyphs from the cache of blended glyphs may be written straight into the
  // picture instead of through Qt.
  bool CanWritePixels() const;

  TBitmap* bitmap_ = nullptr;  // memory canvas target
  QImage image_;               // wraps or copies bitmap_
  std::optional<QPainter> own_painter_;
  QPainter* painter_ = nullptr;
  bool borrowed_painter_ = false;
  Rect bounds_;
  uchar* target_bits_ = nullptr;  // the 32-bit picture's pixels, when painting on one
  qsizetype target_stride_ = 0;
  int device_bits_ = 32;
};

}  // namespace tessival::platform
