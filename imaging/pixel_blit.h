#pragma once
// Software bitmap transfers between 24-bit PixelImages.
#include "imaging/animation_canvas.h"
#include "imaging/pixel_image.h"

namespace tessival::imaging {

// Nearest-pixel stretch of `source_rect` of `source` onto `dest_rect` of `dest`, clipped to
// both bitmaps. With `mask` (1 bit, the size of `source`), set bits leave `dest` unchanged.
void StretchBlit(PixelImage& dest, const TRect& dest_rect, const PixelImage& source,
                 const TRect& source_rect, const PixelImage* mask);

// Copies all of `source` to (x, y) of `dest`, clipped.
void CopyBlit(PixelImage& dest, int x, int y, const PixelImage& source);

// Fills `area` of a 24-bit bitmap with 0x00RRGGBB, clipped.
void FillRect(PixelImage& dest, const TRect& area, std::uint32_t rgb);

}  // namespace tessival::imaging
