#pragma once
// TAnimationCanvas on a 24-bit PixelImage, for tools, benchmarks and pixel tests.
#include "imaging/animation_canvas.h"

namespace tessival::imaging {

class TPixelCanvas final : public TAnimationCanvas {
 public:
  TPixelCanvas(int width, int height) : surface_(width, height, 24) {}
  PixelImage& Surface() { return surface_; }
  const PixelImage& Surface() const { return surface_; }

  void CopyToBitmap(int x, int y, PixelImage& into) override;
  void DrawBitmap(int x, int y, const PixelImage& bitmap) override;
  void StretchDraw(const TRect& dest, const PixelImage& bitmap, const TRect& source,
                   const PixelImage* mask) override;

 private:
  PixelImage surface_;
};

// A background of one colour.
class TSolidBackground final : public TAnimationBackground {
 public:
  explicit TSolidBackground(std::uint32_t rgb) : rgb_(rgb) {}
  void FillBackground(PixelImage& composite, int x, int y) override;

 private:
  std::uint32_t rgb_;
};

}  // namespace tessival::imaging
