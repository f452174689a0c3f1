#pragma once
// Copies between the decoders' pixel buffers and the platform's bitmaps, so a decoded
// picture, a GIF strip with its mask or a reduced bitmap can be handed to the viewer and
// drawn through the platform canvas. Both sides share the device-independent layout (same
// bit counts, packing, channel order and 4-byte row padding), so a copy keeps every byte
// of every row, the palette with its flags, and the mask; only the row order differs (the
// platform stores rows top-down, a PixelImage in the order it was made with).
#include "imaging/animation_canvas.h"
#include "imaging/gif_strip.h"
#include "imaging/pixel_image.h"
#include "platform/bitmap.h"
#include "platform/masked_bitmap.h"
#include "platform/palette.h"

namespace tessival::imaging {

platform::TPalette ToPlatformPalette(const Palette& palette);
Palette FromPlatformPalette(const platform::TPalette& palette);

// The palette goes with the bits. A table longer than the bit count can address is cut to
// what it can address (the platform keeps no more). Throws platform::EOutOfResources when
// the platform refuses the size.
platform::TBitmap ToPlatformBitmap(const PixelImage& image);
// Only `part` (which must lie inside the image): what a blit of part of a strip needs.
platform::TBitmap ToPlatformBitmap(const PixelImage& image, const TRect& part);
// Throws std::length_error beyond kMaxImagePixels.
PixelImage FromPlatformBitmap(const platform::TBitmap& bitmap, RowOrder order = RowOrder::TopDown);

// The strip and its mask (when it has one).
platform::TMyBitmap ToPlatformBitmap(const TMyBitmap& strip);
TMyBitmap FromPlatformBitmap(const platform::TMyBitmap& strip, RowOrder order = RowOrder::BottomUp);

}  // namespace tessival::imaging
