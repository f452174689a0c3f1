#include "imaging/image_format.h"

#include <array>

namespace tessival::imaging {

TImageFormat DetectImageFormat(std::span<const std::uint8_t> head) {
  std::array<std::uint8_t, 5> b{};
  for (std::size_t i = 0; i < b.size() && i < head.size(); ++i) b[i] = head[i];
  // GIF is tested first: its signature is the longest.
  if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F' && b[3] == '8')
    return b[4] == '9' ? TImageFormat::kGif89 : TImageFormat::kGif87;
  if (b[0] == 'B' && b[1] == 'M') return TImageFormat::kBmp;
  if (b[0] == 0x89 && b[1] == 'P' && b[2] == 'N' && b[3] == 'G') return TImageFormat::kPng;
  if (b[0] == 0xFF && b[1] == 0xD8) return TImageFormat::kJpeg;
  return TImageFormat::kUnknown;
}

}  // namespace tessival::imaging
