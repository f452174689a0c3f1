#include "imaging/gif_strip.h"

#include <algorithm>
#include <stdexcept>

namespace tessival::imaging {

namespace {

void WriteFrame(const TGif& gif, const GifImageRecord& image, int slot_left, TMyBitmap& strip) {
  const GifScreenDescriptor& screen = gif.Screen();
  const GifColorTable& table = gif.ColorTables()[static_cast<std::size_t>(image.table_index)];
  const int rows = std::min(image.height, screen.height);
  const int columns = std::min(image.width, screen.width);
  const int transparent = image.TransparentIndex();
  for (int k = 0; k < rows; ++k) {
    const std::uint8_t* indexes = image.pixels.data() + static_cast<std::size_t>(k) * image.width;
    std::uint8_t* out = strip.bitmap.Row(k) + 3 * static_cast<std::size_t>(slot_left);
    for (int j = 0; j < columns; ++j, out += 3) {
      const std::uint32_t c = table.colors[indexes[j]];
      out[0] = static_cast<std::uint8_t>(c >> 16);  // blue
      out[1] = static_cast<std::uint8_t>(c >> 8);
      out[2] = static_cast<std::uint8_t>(c);  // red
    }
    if (transparent < 0 || !strip.HasMask()) continue;
    std::uint8_t* mask_row = strip.mask.Row(k);
    for (int j = 0; j < columns; ++j) {
      if (indexes[j] != transparent) continue;
      const int x = slot_left + j;
      mask_row[x >> 3] = static_cast<std::uint8_t>(mask_row[x >> 3] | (0x80 >> (x & 7)));
    }
  }
}

}  // namespace

TMyBitmap BuildGifStrip(const TGif& gif) {
  const GifScreenDescriptor& screen = gif.Screen();
  const auto& images = gif.Images();
  const std::int64_t strip_width = std::int64_t{screen.width} * static_cast<std::int64_t>(images.size());
  TMyBitmap strip;
  try {
    CheckImageSize(strip_width, screen.height);
    // Bottom-up, the row order of the in-memory bitmap file the strip stands for.
    strip.bitmap = PixelImage(static_cast<int>(strip_width), screen.height, 24, RowOrder::BottomUp);
    const bool any_transparent = std::any_of(images.begin(), images.end(), [](const GifImageRecord& i) {
      return i.TransparentIndex() >= 0;
    });
    if (any_transparent) {
      strip.mask = PixelImage(static_cast<int>(strip_width), screen.height, 1, RowOrder::BottomUp);
      strip.mask.Colors() = {{0, 0, 0, 0}, {255, 255, 255, 0}};
      strip.SetHasMask(true);
    }
  } catch (const std::length_error&) {
    throw EInvalidGraphicOperation(GifError::ValueOutOfRange);
  }
  for (std::size_t e = 0; e < images.size(); ++e)
    WriteFrame(gif, images[e], static_cast<int>(e) * screen.width, strip);
  return strip;
}

}  // namespace tessival::imaging
