#pragma once
// Which decoder a picture's bytes belong to, judged by their first bytes alone: the name a
// picture was stored under says nothing reliable about what it holds.
#include <cstdint>
#include <span>

namespace tessival::imaging {

enum class TImageFormat : std::uint8_t {
  kUnknown = 0,
  kBmp = 1,
  kGif87 = 2,
  kGif89 = 3,
  kPng = 4,
  kJpeg = 5,
};

// Looks at the first five bytes; bytes a short buffer lacks count as 0.
TImageFormat DetectImageFormat(std::span<const std::uint8_t> head);

inline bool IsGif(TImageFormat format) {
  return format == TImageFormat::kGif87 || format == TImageFormat::kGif89;
}

}  // namespace tessival::imaging
