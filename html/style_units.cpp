#include "html/style_units.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <utility>

#include "html/text_util.h"
#include "platform/screen_fonts.h"

namespace tessival::html {

namespace {

struct NumberAndUnit {
  double value = 0;
  std::string_view unit;
};

// The number is the longest leading decimal (sign, digits, one point); an "e" never belongs
// to it, so "2em" is 2 and "em".
NumberAndUnit SplitNumber(std::string_view text) {
  text = Trim(text);
  std::size_t end = 0;
  if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
  const std::size_t digits_start = end;
  while (end < text.size() && IsAsciiDigit(text[end])) ++end;
  if (end < text.size() && text[end] == '.') {
    ++end;
    while (end < text.size() && IsAsciiDigit(text[end])) ++end;
  }
  NumberAndUnit result;
  const bool has_digit = end > digits_start && !(end == digits_start + 1 && text[digits_start] == '.');
  if (!has_digit) {
    result.unit = text;
    return result;
  }
  std::string_view number = text.substr(0, end);
  if (number.front() == '+') number.remove_prefix(1);
  const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), result.value);
  if (ec != std::errc()) result.value = 0;
  result.unit = Trim(text.substr(end));
  return result;
}

double PixelsPerInch() { return platform::ScreenPixelsPerInch(); }

}  // namespace

int RoundToInt(double value) {
  constexpr double lowest = std::numeric_limits<int>::min();
  constexpr double highest = std::numeric_limits<int>::max();
  if (std::isnan(value)) return 0;
  const double rounded = std::nearbyint(value);
  if (rounded <= lowest) return std::numeric_limits<int>::min();
  if (rounded >= highest) return std::numeric_limits<int>::max();
  return static_cast<int>(rounded);
}

int LengthToPixels(std::string_view text, LengthBase relative, double base, int fallback, double exSize,
                   double emSize) {
  const auto [v, unit] = SplitNumber(text);
  const double ppi = PixelsPerInch();
  double pixels = 0;
  if (unit.empty()) {
    pixels = relative == LengthBase::Relative ? v * base : v;
  } else if (unit == "in") {
    pixels = v * ppi;
  } else if (unit == "cm") {
    pixels = v * ppi * 0.39370078740157480316;
  } else if (unit == "mm") {
    pixels = v * ppi * 0.039370078740157480314;
  } else if (unit == "pt") {
    pixels = v * ppi * 0.013888888888888888889;
  } else if (unit == "px") {
    pixels = v;
  } else if (unit == "pc") {
    pixels = v * ppi * 0.16666666666666666667;
  } else if (unit == "em") {
    pixels = v * emSize;
  } else if (unit == "ex") {
    pixels = v * exSize;
  } else if (unit == "%") {
    pixels = v * base / 100;
  } else {
    return fallback;
  }
  return RoundToInt(pixels);
}

double FontSizeToPoints(std::string_view text, double parentSize, double defaultSize) {
  static constexpr std::array<std::pair<std::string_view, double>, 7> keywords = {{
      {"xx-small", 2.0 / 3},
      {"x-small", 5.0 / 6},
      {"small", 1.0},
      {"medium", 1.2},
      {"large", 1.5},
      {"x-large", 2.0},
      {"xx-large", 3.0},
  }};
  const std::string_view whole = Trim(text);
  if (whole == "smaller") return parentSize * 0.75;
  if (whole == "larger") return parentSize * 1.25;
  for (const auto& [name, factor] : keywords) {
    if (whole == name) return defaultSize * factor;
  }
  const auto [v, unit] = SplitNumber(whole);
  if (unit == "in") return v * 72;
  if (unit == "cm") return v * 72 / 2.54;
  if (unit == "mm") return v * 72 / 25.4;
  if (unit == "pt") return v;
  if (unit == "px" || unit.empty()) return v * 72 / PixelsPerInch();
  if (unit == "pc") return v * 12;
  if (unit == "em") return parentSize * v;
  if (unit == "ex") return parentSize * v / 2;
  if (unit == "%") return parentSize * v / 100;
  return defaultSize;
}

}  // namespace tessival::html
