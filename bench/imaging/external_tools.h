#pragma once
// Running the command-line reference tools and exchanging pictures with them as PPM files.
#include <string>

#include "imaging/pixel_image.h"

namespace tessival::bench {

void WritePpmFile(const std::string& path, const imaging::PixelImage& picture);
imaging::PixelImage ReadPpmFile(const std::string& path);  // 8-bit P6 only
// Runs a shell command and returns its wall time in milliseconds; throws on failure.
double TimeCommandMs(const std::string& command);
// Mean absolute difference per channel between two pictures of the same size.
double MeanColorError(const imaging::PixelImage& a, const imaging::PixelImage& b);

}  // namespace tessival::bench
