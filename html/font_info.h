#pragma once
// The description of a font as the style model computes it; painting realises it on a
// canvas later.
#include <array>
#include <string>

#include "html/style_values.h"

namespace tessival::html {

enum TFontStyleBit : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct ThtFontInfo {
  std::string iName;
  int iSize = 12;  // points
  int iStyle = 0;  // TFontStyleBit set
  TColor iColor = 0;
  TColor ibgColor = NoColor;
  int iCharset = 1;

  bool operator==(const ThtFontInfo&) const = default;
};

// A link's four looks.
enum TLinkFontState : int { lfNormal = 0, lfVisited = 1, lfHover = 2, lfVisitedHover = 3 };
using TFontInfoArray = std::array<ThtFontInfo, 4>;

}  // namespace tessival::html
