#include "imaging/png_transparency.h"

#include <cstring>

#include "imaging/png_image.h"

namespace tessival::imaging {

namespace {
constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
}

bool HasPngTransparency(std::span<const std::uint8_t> stream) {
  if (stream.size() < 8 || std::memcmp(stream.data(), kSignature, 8) != 0) return false;
  std::size_t pos = 8;
  while (stream.size() - pos >= 8) {
    const std::uint8_t* p = stream.data() + pos;
    const std::uint64_t length = (std::uint64_t{p[0]} << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
    const std::string_view type(reinterpret_cast<const char*>(p + 4), 4);
    if (type == "tRNS") return true;
    if (type == "IDAT") return false;
    if (type == "IHDR") {
      if (stream.size() - pos < 8 + 13) return false;
      const int color_type = p[8 + 9];
      if (color_type != 2 && color_type != 3) return false;
    }
    if (length + 12 > stream.size() - pos) return false;
    pos += static_cast<std::size_t>(length) + 12;
  }
  return false;
}

std::uint32_t PngMaskColor(const TPNGImage& image) {
  if (image.HeaderField(1) == 2 && image.Transparent()) return image.TransparentColor();
  const Palette& palette = image.Bitmap().Colors();
  if (palette.empty()) return 0;
  return (std::uint32_t{palette[0].red} << 16) | (std::uint32_t{palette[0].green} << 8) |
         palette[0].blue;
}

PixelImage MakeColorMask(const PixelImage& bitmap, std::uint32_t rgb) {
  PixelImage mask(bitmap.Width(), bitmap.Height(), 1);
  mask.Colors() = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (bitmap.ColorAt(x, y) == rgb) mask.SetIndex(x, y, 1);
  return mask;
}

}  // namespace tessival::imaging
