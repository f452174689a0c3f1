#pragma once
// Dither engines walk a picture in serpentine order (left to right on the first row,
// then alternating) and turn each pixel into a palette index through a lookup.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace tessival::imaging {

// Nearest colour only.
template <class Lookup>
class TPlainDither {
 public:
  TPlainDither(int width, Lookup& lookup) : width_(width), lookup_(lookup) {}
  int Column() const { return column_; }
  int Direction() const { return direction_; }
  int Convert(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    column_ += direction_;
    return lookup_.Find(red, green, blue).index;
  }
  void NextLine() {
    direction_ = -direction_;
    column_ = direction_ > 0 ? 0 : width_ - 1;
  }

 private:
  int width_;
  Lookup& lookup_;
  int direction_ = 1;
  int column_ = 0;
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
  int Column() const { return column_; }
  int Direction() const { return direction_; }

  int Convert(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    int* const r = &errors_[pointer_ * 3];
    const int* const ahead = r + direction_ * 3;
    const int vr = Clamp(red + Divide16(ahead[0] + current_[0] + 8));
    const int vg = Clamp(green + Divide16(ahead[1] + current_[1] + 8));
    const int vb = Clamp(blue + Divide16(ahead[2] + current_[2] + 8));
    const auto chosen = lookup_.Find(static_cast<std::uint8_t>(vr), static_cast<std::uint8_t>(vg),
                                     static_cast<std::uint8_t>(vb));
    Spread(0, vr - chosen.red, r);
    Spread(1, vg - chosen.green, r);
    Spread(2, vb - chosen.blue, r);
    pointer_ += direction_;
    column_ += direction_;
    return chosen.index;
  }

  void NextLine() {
    int* const r = &errors_[pointer_ * 3];
    for (int c = 0; c < 3; ++c) {
      r[c] = below_previous_[c];
      current_[c] = below_[c] = below_previous_[c] = 0;
    }
    direction_ = -direction_;
    pointer_ = direction_ > 0 ? 0 : width_ + 1;
    column_ = direction_ > 0 ? 0 : width_ - 1;
  }

 private:
  static int Clamp(int v) { return std::clamp(v, 0, 255); }
  // Division by 16 truncating toward zero, as integer division does.
  static int Divide16(int v) { return v / 16; }
  void Spread(int c, int d, int* entry) {
    entry[c] = below_previous_[c] + 3 * d;
    below_previous_[c] = below_[c] + 5 * d;
    below_[c] = d;
    current_[c] = 7 * d;
  }

  int width_;
  Lookup& lookup_;
  std::vector<int> errors_;  // interleaved red, green, blue per entry
  int pointer_ = 0;
  int direction_ = 1;
  int column_ = 0;
  int current_[3] = {0, 0, 0};
  int below_[3] = {0, 0, 0};
  int below_previous_[3] = {0, 0, 0};
};

}  // namespace tessival::imaging
