#include "imaging/platform_bitmaps.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace tessival::imaging {

namespace {

platform::PixelFormat FormatFor(int bits_per_pixel) {
  return static_cast<platform::PixelFormat>(bits_per_pixel);
}

}  // namespace

platform::TPalette ToPlatformPalette(const Palette& palette) { return platform::TPalette(palette); }

Palette FromPlatformPalette(const platform::TPalette& palette) { return palette.Entries(); }

platform::TBitmap ToPlatformBitmap(const PixelImage& image) {
  return ToPlatformBitmap(image, TRect{0, 0, image.Width(), image.Height()});
}

platform::TBitmap ToPlatformBitmap(const PixelImage& image, const TRect& part) {
  const int bits = image.BitsPerPixel();
  platform::TBitmap bitmap(part.Width(), part.Height(), FormatFor(bits));
  // Always set, so an empty table stays empty instead of becoming the platform's default.
  bitmap.SetPalette(ToPlatformPalette(image.Colors()));
  const std::size_t left_bits = static_cast<std::size_t>(part.left) * static_cast<std::size_t>(bits);
  if (left_bits % 8 == 0) {
    // Whole bytes: the rows go over as they are (padding included for the whole picture).
    const std::size_t offset = left_bits / 8;
    const std::size_t row_bytes = std::min(image.Stride() - std::min(offset, image.Stride()),
                                           static_cast<std::size_t>(bitmap.RowBytes()));
    if (row_bytes == 0) return bitmap;
    for (int y = 0; y < part.Height(); ++y)
      std::memcpy(bitmap.ScanLine(y), image.Row(part.top + y) + offset, row_bytes);
    return bitmap;
  }
  for (int y = 0; y < part.Height(); ++y) {
    for (int x = 0; x < part.Width(); ++x)
      bitmap.SetRaw(x, y, static_cast<std::uint32_t>(image.IndexAt(part.left + x, part.top + y)));
  }
  return bitmap;
}

PixelImage FromPlatformBitmap(const platform::TBitmap& bitmap, RowOrder order) {
  PixelImage image(bitmap.Width(), bitmap.Height(), bitmap.BitsPerPixel(), order);
  if (bitmap.IsIndexed()) image.Colors() = FromPlatformPalette(bitmap.Palette());
  const std::size_t row_bytes = std::min<std::size_t>(image.Stride(),
                                                      static_cast<std::size_t>(bitmap.RowBytes()));
  if (row_bytes == 0) return image;
  for (int y = 0; y < bitmap.Height(); ++y) std::memcpy(image.Row(y), bitmap.ScanLine(y), row_bytes);
  return image;
}

platform::TMyBitmap ToPlatformBitmap(const TMyBitmap& strip) {
  platform::TMyBitmap out(ToPlatformBitmap(strip.bitmap));
  if (strip.HasMask()) out.SetMask(std::make_unique<platform::TBitmap>(ToPlatformBitmap(strip.mask)));
  return out;
}

TMyBitmap FromPlatformBitmap(const platform::TMyBitmap& strip, RowOrder order) {
  TMyBitmap out;
  out.bitmap = FromPlatformBitmap(static_cast<const platform::TBitmap&>(strip), order);
  if (strip.HasMask()) {
    out.mask = FromPlatformBitmap(*strip.Mask(), order);
    out.SetHasMask(true);
  }
  return out;
}

}  // namespace tessival::imaging
