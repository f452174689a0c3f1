#pragma once
// TAnimationCanvas on the platform canvas: how an animated picture reaches the screen.
//
// The platform canvas draws but cannot be read, so the adapter is given the bitmap the
// canvas paints into (the viewer's back buffer, or a memory canvas's target) and reads
// the picture's background back from it after a Flush. The masked stretch is the
// invert-and-mask sequence (SRCINVERT, SRCAND with the mask, SRCINVERT), which needs no
// black under the transparent pixels; stretching is done colour-on-colour.
#include "imaging/animation_canvas.h"
#include "platform/canvas.h"

namespace tessival::imaging {

class TPlatformAnimationCanvas final : public TAnimationCanvas {
 public:
  // Both must outlive the adapter.
  TPlatformAnimationCanvas(platform::Canvas& canvas, const platform::TBitmap& surface)
      : canvas_(canvas), surface_(surface) {}

  // Pixels outside the surface leave `into` as it was.
  void CopyToBitmap(int x, int y, PixelImage& into) override;
  void DrawBitmap(int x, int y, const PixelImage& bitmap) override;
  void StretchDraw(const TRect& dest, const PixelImage& bitmap, const TRect& source, const PixelImage* mask) override;

 private:
  platform::Canvas& canvas_;
  const platform::TBitmap& surface_;
};

}  // namespace tessival::imaging
