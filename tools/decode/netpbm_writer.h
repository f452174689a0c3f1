#pragma once
// Binary PPM (P6) and PGM (P5) output.
#include <string>

#include "imaging/pixel_image.h"

namespace tessival::tools {

// Any bitmap, written as 8-bit RGB. Throws std::runtime_error when the file cannot be written.
void WritePpm(const std::string& path, const imaging::PixelImage& picture);
// A 1-bit mask (set = transparent) as a grey map with 255 for opaque and 0 for transparent;
// without a mask every pixel is opaque.
void WriteMaskPgm(const std::string& path, const imaging::PixelImage* mask, int width, int height);

}  // namespace tessival::tools
