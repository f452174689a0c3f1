#include "imaging/pixel_canvas.h"

#include "imaging/pixel_blit.h"

namespace tessival::imaging {

void TPixelCanvas::CopyToBitmap(int x, int y, PixelImage& into) {
  StretchBlit(into, TRect{0, 0, into.Width(), into.Height()}, surface_,
              TRect{x, y, x + into.Width(), y + into.Height()}, nullptr);
}

void TPixelCanvas::DrawBitmap(int x, int y, const PixelImage& bitmap) {
  CopyBlit(surface_, x, y, bitmap);
}

void TPixelCanvas::StretchDraw(const TRect& dest, const PixelImage& bitmap, const TRect& source,
                               const PixelImage* mask) {
  StretchBlit(surface_, dest, bitmap, source, mask);
}

void TSolidBackground::FillBackground(PixelImage& composite, int, int) {
  FillRect(composite, TRect{0, 0, composite.Width(), composite.Height()}, rgb_);
}

}  // namespace tessival::imaging
