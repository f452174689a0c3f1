#pragma once
// Colour values as the engine stores them: 0x00BBGGRR, with two marker forms.
//
//   0x00BBGGRR   a plain colour
//   0x02BBGGRR   palette-relative: on a palette display it takes the nearest entry of the
//                realised palette instead of the nearest static colour
//   0x800000nn   system colour nn, resolved through a fixed table (GetSysColor)
//   0x1FFFFFFF   NoColor: "no colour given" (never drawn)
#include <cstdint>

namespace tessival::platform {

using TColor = std::uint32_t;

constexpr TColor NoColor = 0x1FFFFFFF;
constexpr TColor PaletteRelativeFlag = 0x02000000;
constexpr TColor SystemColorFlag = 0x80000000;

constexpr TColor RGB(unsigned red, unsigned green, unsigned blue) {
  return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr TColor PALETTERGB(unsigned red, unsigned green, unsigned blue) {
  return PaletteRelativeFlag | RGB(red, green, blue);
}
constexpr unsigned GetRValue(TColor c) { return c & 0xFF; }
constexpr unsigned GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr unsigned GetBValue(TColor c) { return (c >> 16) & 0xFF; }

constexpr bool IsSystemColor(TColor c) { return (c & SystemColorFlag) != 0; }
constexpr bool IsPaletteRelative(TColor c) {
  return !IsSystemColor(c) && c != NoColor && (c & 0xFF000000) == PaletteRelativeFlag;
}

// System colour indexes, the classic numbering.
enum SysColorIndex : int {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_ACTIVECAPTION = 2,
  COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4,
  COLOR_WINDOW = 5,
  COLOR_WINDOWFRAME = 6,
  COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9,
  COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
  SysColorCount = 25
};

// The fixed system colour table (the long-standing default scheme, so that pages and
// tests look the same on every desktop). An index outside the table gives black.
TColor GetSysColor(int index);

// A colour as a raster device draws it: system colours resolved, the palette flag
// dropped. NoColor and other marker values have no plain form and give black.
TColor PlainColor(TColor color);

}  // namespace tessival::platform
