#pragma once
// Running the command-line reference tools and exchanging pictures with them as PPM files.
#include <string>

#include "imaging/pixel_image.h"

namespace tessival::bench {

void WritePpmFile(const std::string& path, const imaging::PixelImage& picture);
imaging::PixelImage ReadPpmFile(const std::string& path);  // 8-bit P6 only
// Runs a shell command and returns the processor time (user + system) it and its children
// used, in milliseconds; throws on failure.
double CommandProcessorMs(const std::string& command);
// Mean absolute difference per channel between two pictures of the same size.
double MeanColorError(const imaging::PixelImage& a, const imaging::PixelImage& b);
// The same for the averages of `block` × `block` squares: what dithering is meant to keep.
double MeanBlockError(const imaging::PixelImage& a, const imaging::PixelImage& b, int block);

}  // namespace tessival::bench
