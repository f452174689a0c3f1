#pragma once
// TAnimationCanvas on the platform canvas: how an animated picture reaches the screen.
//
// The platform canvas draws but cannot be read, so the adapter is given the bitmap the
// canvas paints into (the viewer's back buffer, or a memory canvas's target) and reads
// the picture's background back from it after a Flush. The masked stretch is SRCAND with
// the mask, then SRCPAINT with a copy of the picture made black where it is transparent:
// unlike the invert-mask-invert sequence it never draws an intermediate XOR colour, which
// a palette device would round to its nearest entry. Stretching is colour-on-colour.
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
  // Throws std::invalid_argument for a mask of another size than the bitmap.
  void StretchDraw(const TRect& dest, const PixelImage& bitmap, const TRect& source,
                   const PixelImage* mask) override;

 private:
  platform::Canvas& canvas_;
  const platform::TBitmap& surface_;
};

}  // namespace tessival::imaging
