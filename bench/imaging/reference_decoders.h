#pragma once
// The reference decoders, each called the way its users call it.
#include <cstdint>
#include <vector>

namespace tessival::bench {

// libpng's simplified API, decoding to 24-bit BGR. Returns the checksum of the pixels.
std::uint64_t LibpngDecode(const std::vector<std::uint8_t>& file);
// giflib's DGifSlurp: all images to index rasters. Returns the number of images.
int GiflibSlurp(const std::vector<std::uint8_t>& file);
// stb_image's GIF loader: every frame composited to RGBA. Returns the number of frames.
int StbLoadGif(const std::vector<std::uint8_t>& file);

}  // namespace tessival::bench
