#pragma once
// The benchmark's inputs, generated in-process: pictures and their encoded files.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/pixel_image.h"

namespace tessival::bench {

using Bytes = std::vector<std::uint8_t>;

struct NamedFile {
  std::string name;
  Bytes data;
};

// Photo-like RGB: smooth shading with fine noise.
imaging::PixelImage MakePhoto(int width, int height);
// A text screenshot: dark glyph-like strokes on white, with a few coloured bars.
imaging::PixelImage MakeTextScreenshot(int width, int height);

// PNG files: photo, text screenshot, 256-colour palette image, interlaced photo.
std::vector<NamedFile> MakePngInputs();
// A 1920 × 1080 still GIF of 256 colours.
Bytes MakeGifStill();
// A 60-frame animation of 640 × 360 with moving sub-rectangles, transparency and every
// disposal method.
Bytes MakeGifAnimation();

}  // namespace tessival::bench
