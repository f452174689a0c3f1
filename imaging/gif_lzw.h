#pragma once
// GIF's variable-length LZW, decoding straight into a frame's index array.
#include <cstdint>
#include <span>

namespace tessival::imaging {

// Decodes `data` (the concatenated sub-blocks) into `pixels` (width × height, already
// zero-filled), placing rows in interlaced order when asked. Pixels the data does not
// reach stay 0. Throws EInvalidGraphicOperation (Invalid LZW Code Size, Invalid LZW Data
// Format).
void DecodeGifLzw(std::span<const std::uint8_t> data, int min_code_size, int width, int height, bool interlaced,
                  std::span<std::uint8_t> pixels);

}  // namespace tessival::imaging
