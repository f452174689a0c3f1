#pragma once
// Length and font-size conversions. Lengths become screen pixels, font sizes points; the
// screen resolution comes from the platform's screen description.
#include <string_view>

namespace tessival::html {

enum class LengthBase { Absolute, Relative };

// `Relative` makes a bare number a multiple of `base` (line heights); "%" is always a share
// of `base`. An unknown unit gives `fallback`; a number that does not read counts as 0.
int LengthToPixels(std::string_view text, LengthBase relative, double base, int fallback, double exSize,
                   double emSize);

// `defaultSize` is the document's default font size, the size the keywords scale.
double FontSizeToPoints(std::string_view text, double parentSize, double defaultSize);

// Rounds to the nearest integer (halves to even), clamped to the range of int so that
// absurd input stays defined.
int RoundToInt(double value);

}  // namespace tessival::html
