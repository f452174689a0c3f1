#pragma once
// Transparency of PNG pictures as the image loader sees it: a quick scan for a tRNS chunk
// ahead of the image data, and the colour whose pixels the mask hides.
#include <cstdint>
#include <span>

#include "imaging/pixel_image.h"

namespace tessival::imaging {

class TPNGImage;

// True when an RGB or palette PNG has a tRNS chunk before its first IDAT. Never throws;
// a short or broken stream answers what was found so far.
bool HasPngTransparency(std::span<const std::uint8_t> stream);

// The colour the mask of a transparent PNG hides, as 0x00RRGGBB: palette entry 0 of the
// decoded bitmap, or for RGB pictures the tRNS colour.
std::uint32_t PngMaskColor(const TPNGImage& image);

// A 1-bit mask the size of `bitmap`: 1 (white) where the pixel has `rgb`, else 0.
PixelImage MakeColorMask(const PixelImage& bitmap, std::uint32_t rgb);

}  // namespace tessival::imaging
