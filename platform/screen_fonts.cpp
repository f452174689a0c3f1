#include "platform/screen_fonts.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

namespace tessival::platform {

namespace {

// The screen is one per program, so its description is too.
struct ScreenFontState {
  std::vector<std::string> families{"Arial", "Courier New", "Times New Roman", "MS Sans Serif"};
  int pixels_per_inch = DefaultPixelsPerInch;
  ScreenFontMeasurer measurer;
};

ScreenFontState& State() {
  static ScreenFontState state;
  return state;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

ScreenFontMetrics EstimateMetrics(const ScreenFontRequest& request) {
  const double pixels = request.size_pt * ScreenPixelsPerInch() / 72.0;
  return {static_cast<int>(std::lround(pixels)), request.charset};
}

}  // namespace

const std::vector<std::string>& InstalledScreenFonts() { return State().families; }

void SetInstalledScreenFonts(std::vector<std::string> families) {
  State().families = std::move(families);
}

bool IsScreenFontInstalled(std::string_view family) {
  const auto& families = State().families;
  return std::any_of(families.begin(), families.end(),
                     [&](const std::string& f) { return EqualNoCase(f, family); });
}

int ScreenPixelsPerInch() { return State().pixels_per_inch; }

void SetScreenPixelsPerInch(int pixels_per_inch) {
  State().pixels_per_inch = pixels_per_inch > 0 ? pixels_per_inch : DefaultPixelsPerInch;
}

ScreenFontMetrics MeasureScreenFont(const ScreenFontRequest& request) {
  const auto& measurer = State().measurer;
  return measurer ? measurer(request) : EstimateMetrics(request);
}

void SetScreenFontMeasurer(ScreenFontMeasurer measurer) { State().measurer = std::move(measurer); }

}  // namespace tessival::platform
