#pragma once
// GIF's variable-length LZW, decoding straight into a frame's index array.
#include <cstdint>
#include <span>
#include <vector>

namespace tessival::imaging {

// Decodes `data` (the concatenated sub-blocks) into width × height indexes, rows placed in
// interlaced order when asked. Pixels the data does not reach are 0. The caller keeps
// width × height within the pixel limit. Throws EInvalidGraphicOperation (Invalid LZW
// Code Size, Invalid LZW Data Format).
std::vector<std::uint8_t> DecodeGifLzw(std::span<const std::uint8_t> data, int min_code_size, int width,
                                       int height, bool interlaced);

}  // namespace tessival::imaging
