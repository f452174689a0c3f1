#pragma once
// What an animated picture needs from the surface it is drawn on. The platform's canvas
// implements these three operations for the screen; TPixelCanvas implements them on a
// PixelImage for tools and tests.
#include "imaging/pixel_image.h"

namespace tessival::imaging {

struct TRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

class TAnimationCanvas {
 public:
  virtual ~TAnimationCanvas() = default;
  // Reads the canvas under (x, y, x + into.Width(), y + into.Height()) into the 24-bit
  // bitmap `into`.
  virtual void CopyToBitmap(int x, int y, PixelImage& into) = 0;
  // Draws a whole 24-bit bitmap with its top-left corner at (x, y), replacing the canvas.
  virtual void DrawBitmap(int x, int y, const PixelImage& bitmap) = 0;
  // Stretches `source` of a 24-bit bitmap onto `dest` (colour-on-colour: nearest pixel).
  // With a mask (1 bit, same size as the bitmap), pixels whose mask bit is set (white)
  // leave the canvas unchanged.
  virtual void StretchDraw(const TRect& dest, const PixelImage& bitmap, const TRect& source,
                           const PixelImage* mask) = 0;
};

// The window an animated picture sits in: frame changes invalidate the picture's area.
class TPaintPanel {
 public:
  virtual ~TPaintPanel() = default;
  virtual void InvalidateRect(const TRect& area, bool erase) = 0;
};

// The document behind an animated picture: fills a fresh composite with its background
// (its background bitmap tiled in step with the scroll offset, or its colour) as it shows
// under the canvas position (x, y).
class TAnimationBackground {
 public:
  virtual ~TAnimationBackground() = default;
  virtual void FillBackground(PixelImage& composite, int x, int y) = 0;
};

}  // namespace tessival::imaging
