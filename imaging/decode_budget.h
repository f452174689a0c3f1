#pragma once
// How large a decoded picture may get, one rule for every decoder: a picture is refused
// before anything is allocated when its pixels or the memory they take in the form they
// are kept would pass these, and an animation stops taking frames at its own budget (the
// frames read so far are kept). 2^26 pixels is 8192 × 8192, a large photo; 256 MB holds
// it at 32 bits per pixel, and every size computation stays well inside 64 bits.
#include <cstddef>
#include <cstdint>

namespace tessival::imaging {

inline constexpr std::uint64_t kMaxImagePixels = std::uint64_t{1} << 26;
inline constexpr std::uint64_t kMaxImageBytes = std::uint64_t{256} << 20;
inline constexpr std::size_t kMaxAnimationFrames = 10000;
// A progressive JPEG has a handful of scans (ten for a colour photo); thousands only keep
// the decoder busy. Each scan passes over the whole picture, so a large picture gets
// fewer: scans × pixels stays within 16 scans of the largest picture.
inline constexpr int kMaxJpegScans = 300;
inline constexpr std::uint64_t kMaxJpegScanPixels = 16 * kMaxImagePixels;

}  // namespace tessival::imaging
