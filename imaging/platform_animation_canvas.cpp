#include "imaging/platform_animation_canvas.h"

#include <stdexcept>

#include "imaging/platform_bitmaps.h"

namespace tessival::imaging {

namespace {

bool Inside(const TRect& part, const PixelImage& image) {
  return part.left >= 0 && part.top >= 0 && part.left <= part.right && part.top <= part.bottom &&
         part.right <= image.Width() && part.bottom <= image.Height();
}

// Black under the transparent pixels, so that painting the picture over the masked hole
// leaves the background alone there.
void BlackenTransparent(platform::TBitmap& picture, const platform::TBitmap& mask) {
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (mask.GetRaw(x, y) != 0) picture.SetPixel(x, y, platform::RGB(0, 0, 0));
    }
  }
}

}  // namespace

void TPlatformAnimationCanvas::CopyToBitmap(int x, int y, PixelImage& into) {
  canvas_.Flush();
  const platform::Point origin = canvas_.GetWindowOrgEx();
  const int left = x - origin.x, top = y - origin.y;
  for (int row = 0; row < into.Height(); ++row) {
    const int sy = top + row;
    if (sy < 0 || sy >= surface_.Height()) continue;
    std::uint8_t* out = into.Row(row);
    for (int column = 0; column < into.Width(); ++column) {
      const int sx = left + column;
      if (sx < 0 || sx >= surface_.Width()) continue;
      const platform::TColor c = surface_.GetPixel(sx, sy);
      std::uint8_t* p = out + 3 * static_cast<std::size_t>(column);
      p[0] = static_cast<std::uint8_t>(platform::GetBValue(c));
      p[1] = static_cast<std::uint8_t>(platform::GetGValue(c));
      p[2] = static_cast<std::uint8_t>(platform::GetRValue(c));
    }
  }
}

void TPlatformAnimationCanvas::DrawBitmap(int x, int y, const PixelImage& bitmap) {
  canvas_.BitBlt(x, y, bitmap.Width(), bitmap.Height(), ToPlatformBitmap(bitmap), 0, 0,
                 platform::RasterOp::SRCCOPY);
}

void TPlatformAnimationCanvas::StretchDraw(const TRect& dest, const PixelImage& bitmap,
                                           const TRect& source, const PixelImage* mask) {
  // Only the frame's part of a strip is copied; a source reaching outside the bitmap goes
  // whole, so the canvas clips it exactly as it would clip any other.
  const bool crop = Inside(source, bitmap);
  const TRect whole{0, 0, bitmap.Width(), bitmap.Height()};
  const TRect part = crop ? source : whole;
  const int sx = crop ? 0 : source.left, sy = crop ? 0 : source.top;
  if (mask != nullptr && (mask->Width() != bitmap.Width() || mask->Height() != bitmap.Height()))
    throw std::invalid_argument("mask size differs from the bitmap");
  const platform::StretchMode previous = canvas_.SetStretchBltMode(platform::StretchMode::COLORONCOLOR);
  platform::TBitmap picture = ToPlatformBitmap(bitmap, part);
  const auto stretch = [&](const platform::TBitmap& from, platform::RasterOp op) {
    canvas_.StretchBlt(dest.left, dest.top, dest.Width(), dest.Height(), from, sx, sy, source.Width(),
                       source.Height(), op);
  };
  if (mask == nullptr) {
    stretch(picture, platform::RasterOp::SRCCOPY);
  } else {
    platform::TBitmap transparent = ToPlatformBitmap(*mask, part);
    // Set bits must draw white and clear ones black, whatever table the mask came with.
    transparent.SetPalette(platform::MonochromePalette());
    BlackenTransparent(picture, transparent);
    stretch(transparent, platform::RasterOp::SRCAND);
    stretch(picture, platform::RasterOp::SRCPAINT);
  }
  canvas_.SetStretchBltMode(previous);
}

}  // namespace tessival::imaging
