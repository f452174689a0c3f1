#pragma once
// Dither engines walk a picture in serpentine order (left to right on the first row,
// then alternating) and turn each pixel into a palette index through a lookup.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessival::imaging {

// Nearest colour only.
template <class Lookup>
class TPlainDither {
 public:
  TPlainDither(int width, Lookup& lookup) : width_(width), lookup_(lookup) {}
  // Converts one row of blue, green, red pixels into `indexes`, walking it in the current
  // direction, then turns for the next row.
  void ConvertRow(const std::uint8_t* bgr, std::uint8_t* indexes) {
    const int first = direction_ > 0 ? 0 : width_ - 1;
    for (int n = 0, x = first; n < width_; ++n, x += direction_) {
      const std::uint8_t* p = bgr + 3 * static_cast<std::ptrdiff_t>(x);
      indexes[x] = static_cast<std::uint8_t>(lookup_.Find(p[2], p[1], p[0]).index);
    }
    direction_ = -direction_;
  }

 private:
  int width_;
  Lookup& lookup_;
  int direction_ = 1;
};

// Floyd–Steinberg error diffusion. Errors are kept ×16 in integers: the next pixel in the
// direction of travel gets 7/16, the row below 3/16 behind, 5/16 under and 1/16 ahead.
// One error row per channel of width + 2 entries holds both what the current row reads
// (one entry ahead of the pointer) and what the next row will read (at the pointer).
template <class Lookup>
class TFloydSteinbergDither {
 public:
  TFloydSteinbergDither(int width, Lookup& lookup)
      : width_(width), lookup_(lookup), errors_(3 * (static_cast<std::size_t>(width) + 2), 0) {}

  // Converts one row of blue, green, red pixels into `indexes`, walking it in the current
  // direction, then starts the next line.
  void ConvertRow(const std::uint8_t* bgr, std::uint8_t* indexes) {
    if (direction_ > 0) Walk<1>(bgr, indexes);
    else Walk<-1>(bgr, indexes);
    direction_ = -direction_;
  }

 private:
  // One row in one direction. Each pixel waits for the error of the one before it, so
  // nothing else should sit on that path: the running values live in locals and the
  // direction is a constant, which leaves the processor's registers to them.
  template <int kDirection>
  void Walk(const std::uint8_t* bgr, std::uint8_t* indexes) {
    constexpr std::ptrdiff_t kStep = 3 * kDirection;
    const std::ptrdiff_t first = kDirection > 0 ? 0 : width_ - 1;
    const std::uint8_t* p = bgr + 3 * first;
    std::uint8_t* out = indexes + first;
    std::uint8_t* const end = out + kDirection * static_cast<std::ptrdiff_t>(width_);
    int* entry = errors_.data() + (kDirection > 0 ? 0 : 3 * (static_cast<std::ptrdiff_t>(width_) + 1));
    Channel red, green, blue;
    for (; out != end; p += kStep, out += kDirection, entry += kStep) {
      const int* const ahead = entry + kStep;
      const int vr = red.Value(p[2], ahead[0]);
      const int vg = green.Value(p[1], ahead[1]);
      const int vb = blue.Value(p[0], ahead[2]);
      const auto chosen = lookup_.Find(static_cast<std::uint8_t>(vr), static_cast<std::uint8_t>(vg),
                                       static_cast<std::uint8_t>(vb));
      entry[0] = red.Spread(vr - chosen.red);
      entry[1] = green.Spread(vg - chosen.green);
      entry[2] = blue.Spread(vb - chosen.blue);
      *out = static_cast<std::uint8_t>(chosen.index);
    }
    // Next line: below-previous goes to the last entry.
    entry[0] = red.below_previous;
    entry[1] = green.below_previous;
    entry[2] = blue.below_previous;
  }

  // The running values of one channel along a row. The error carried to the next pixel
  // (7d) and the one for the entry ahead on the next row (d) come from the same d, so only
  // d is kept.
  struct Channel {
    int d = 0;
    int below_previous = 0;  // for the entry under the pixel on the next row
    // component + (error-row entry ahead + 7d + 8) div 16, the division truncating toward
    // zero, clamped to 0..255. The clamp is one unsigned comparison choosing between the
    // value and its bound (0 below, 255 above, from the sign), both ready at once, rather
    // than two comparisons in a row.
    int Value(int component, int ahead) const {
      const int value = component + (ahead + 7 * d + 8) / 16;
      const int bound = (~value >> 31) & 255;
      return static_cast<unsigned>(value) > 255u ? bound : value;
    }
    // Takes the pixel's error and returns the error-row entry at the pointer.
    int Spread(int error) {
      const int entry = below_previous + 3 * error;
      below_previous = d + 5 * error;
      d = error;
      return entry;
    }
  };

  int width_;
  Lookup& lookup_;
  std::vector<int> errors_;  // interleaved red, green, blue per entry, width + 2 entries
  int direction_ = 1;
};

}  // namespace tessival::imaging
