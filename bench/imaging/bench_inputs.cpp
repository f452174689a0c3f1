#include "bench_inputs.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "gif_builder.h"
#include "png_builder.h"

namespace tessival::bench {

using imaging::PixelImage;

namespace {

struct Noise {
  std::uint32_t state = 2463534242u;
  int Next(int range) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<int>(state % static_cast<std::uint32_t>(range));
  }
};

std::uint8_t Clamp(double v) { return static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0)); }

// Encodes with the reference library's own writer (its default filter heuristics and
// compression), as files found in the wild are.
Bytes EncodeWithLibpng(const PixelImage& rgb, bool palette_of_256) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(rgb.Width());
  image.height = static_cast<png_uint_32>(rgb.Height());
  std::vector<std::uint8_t> pixels, colormap;
  if (palette_of_256) {
    image.format = PNG_FORMAT_RGB_COLORMAP;
    image.colormap_entries = 256;
    for (int i = 0; i < 256; ++i)
      colormap.insert(colormap.end(), {Clamp(i * 1.0), Clamp(255 - i), Clamp((i * 37) % 256)});
    for (int y = 0; y < rgb.Height(); ++y)
      for (int x = 0; x < rgb.Width(); ++x)
        pixels.push_back(static_cast<std::uint8_t>(rgb.ColorAt(x, y) >> 16));
  } else {
    image.format = PNG_FORMAT_RGB;
    for (int y = 0; y < rgb.Height(); ++y)
      for (int x = 0; x < rgb.Width(); ++x) {
        const std::uint32_t c = rgb.ColorAt(x, y);
        pixels.insert(pixels.end(), {static_cast<std::uint8_t>(c >> 16),
                                     static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c)});
      }
  }
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0,
                            colormap.empty() ? nullptr : colormap.data());
  Bytes out(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0,
                                 colormap.empty() ? nullptr : colormap.data()))
    throw std::runtime_error(image.message);
  out.resize(size);
  return out;
}

Bytes EncodeInterlaced(const PixelImage& rgb) {
  imaging::test::Samples s{rgb.Width(), rgb.Height(), 8, 2, {}};
  s.values.reserve(static_cast<std::size_t>(rgb.Width()) * rgb.Height() * 3);
  for (int y = 0; y < rgb.Height(); ++y)
    for (int x = 0; x < rgb.Width(); ++x) {
      const std::uint32_t c = rgb.ColorAt(x, y);
      s.values.insert(s.values.end(), {std::uint16_t(c >> 16 & 0xFF), std::uint16_t(c >> 8 & 0xFF),
                                       std::uint16_t(c & 0xFF)});
    }
  return imaging::test::MakePng(s, true, 4);  // Paeth on every row, the usual choice for photos
}

}  // namespace

PixelImage MakePhoto(int width, int height) {
  PixelImage image(width, height, 24);
  Noise noise;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = image.Row(y);
    for (int x = 0; x < width; ++x, p += 3) {
      const double fx = x / static_cast<double>(width), fy = y / static_cast<double>(height);
      const double shade = 60 * std::sin(fx * 7 + fy * 3) + 40 * std::cos(fy * 11 - fx * 2);
      p[2] = Clamp(128 + shade + noise.Next(24) - 12);
      p[1] = Clamp(110 + 0.7 * shade + 60 * fy + noise.Next(24) - 12);
      p[0] = Clamp(90 - 0.5 * shade + 80 * fx + noise.Next(24) - 12);
    }
  }
  return image;
}

PixelImage MakeTextScreenshot(int width, int height) {
  PixelImage image(width, height, 24);
  Noise noise;
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = image.Row(y);
    const int line = y % 20;
    for (int x = 0; x < width; ++x, p += 3) {
      std::uint8_t v = 255;
      if (y < 40) {
        p[0] = 180;
        p[1] = 120;
        p[2] = 40;  // a title bar
        continue;
      }
      // Glyph cells of 9 × 14 pixels in lines of 20, with word gaps.
      const int cell = x / 9, column = x % 9;
      if (line < 14 && column < 7 && (cell * 7 + y / 20 * 3) % 11 != 0) {
        const int glyph = (cell * 131 + (y / 20) * 71) % 97;
        if ((glyph >> (column % 5)) & (1 << (line % 3)))
          v = static_cast<std::uint8_t>(20 + noise.Next(8));
      }
      p[0] = p[1] = p[2] = v;
    }
  }
  return image;
}

std::vector<NamedFile> MakePngInputs() {
  const PixelImage photo = MakePhoto(1920, 1080);
  return {{"photo 1920x1080 RGB", EncodeWithLibpng(photo, false)},
          {"text screenshot 1920x1080 RGB", EncodeWithLibpng(MakeTextScreenshot(1920, 1080), false)},
          {"palette 1920x1080 256 colours", EncodeWithLibpng(photo, true)},
          {"interlaced photo 1920x1080 RGB", EncodeInterlaced(photo)}};
}

Bytes MakeGifStill() {
  const PixelImage photo = MakePhoto(1920, 1080);
  std::vector<std::uint32_t> palette(256);
  for (int i = 0; i < 256; ++i)
    palette[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i * 0x010101);
  imaging::test::GifFrameSpec frame;
  frame.width = 1920;
  frame.height = 1080;
  for (int y = 0; y < 1080; ++y)
    for (int x = 0; x < 1920; ++x)
      frame.pixels.push_back(static_cast<std::uint8_t>(photo.ColorAt(x, y) >> 16));
  return imaging::test::MakeGif(1920, 1080, palette, {frame});
}

Bytes MakeGifAnimation() {
  const int w = 640, h = 360;
  const PixelImage photo = MakePhoto(w, h);
  std::vector<std::uint32_t> palette(256);
  for (int i = 0; i < 256; ++i)
    palette[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>((i * 0x030507) & 0xFFFFFF);
  std::vector<imaging::test::GifFrameSpec> frames;
  for (int n = 0; n < 60; ++n) {
    imaging::test::GifFrameSpec f;
    const bool full = n % 15 == 0;
    f.left = full ? 0 : (n * 37) % (w - 200);
    f.top = full ? 0 : (n * 23) % (h - 150);
    f.width = full ? w : 200;
    f.height = full ? h : 150;
    f.disposal = n % 3;
    f.delay = 4;
    f.transparent = full ? -1 : 0;
    for (int y = 0; y < f.height; ++y)
      for (int x = 0; x < f.width; ++x) {
        const auto v = static_cast<std::uint8_t>((photo.ColorAt(f.left + x, f.top + y) >> 8) + n);
        // Transparent holes in a checker of 8 × 8 blocks.
        f.pixels.push_back(!full && ((x / 8 + y / 8) % 3 == 0) ? 0 : std::max<std::uint8_t>(v, 1));
      }
    frames.push_back(std::move(f));
  }
  return imaging::test::MakeGif(w, h, palette, frames, imaging::test::LoopExtension(0));
}

}  // namespace tessival::bench
