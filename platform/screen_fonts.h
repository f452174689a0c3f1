#pragma once
// What the engine may know about the screen's fonts without a canvas: which font families
// are installed, how many pixels an inch has, and how tall the em of a requested font comes
// out. The application fills these from the toolkit at start (platform/qt/qt_screen_fonts);
// tests and command-line tools keep the defaults or set their own.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tessival::platform {

// The screen resolution every unit conversion uses.
constexpr int DefaultPixelsPerInch = 96;

struct ScreenFontRequest {
  std::string name;
  int size_pt = 12;
  bool bold = false;
  bool italic = false;
  int charset = 0;
};

struct ScreenFontMetrics {
  int em_height_px = 0;  // cell height minus internal leading
  int obtained_charset = 0;
};

using ScreenFontMeasurer = std::function<ScreenFontMetrics(const ScreenFontRequest&)>;

// The installed families; by default the stand-ins the project installs for the classic
// screen fonts.
const std::vector<std::string>& InstalledScreenFonts();
void SetInstalledScreenFonts(std::vector<std::string> families);
// Case-insensitive, as font names are on the screen.
bool IsScreenFontInstalled(std::string_view family);

int ScreenPixelsPerInch();
void SetScreenPixelsPerInch(int pixels_per_inch);

// The default measurer makes the em exactly the requested size at the screen resolution and
// grants every character set asked for, which is what a scalable font does.
ScreenFontMetrics MeasureScreenFont(const ScreenFontRequest& request);
void SetScreenFontMeasurer(ScreenFontMeasurer measurer);  // empty restores the default

}  // namespace tessival::platform
