#pragma once
// A screen font as painting asks for it, with what text drawing needs beside the font: the
// colour behind the text and which bytes open a two-byte character.
#include <string>

#include "html/charsets.h"
#include "html/font_info.h"

namespace tessival::html {

struct TMyFont {
  std::string Name;
  int Size = 12;  // points
  int Style = 0;  // TFontStyleBit set
  TColor Color = 0;
  int Charset = 1;
  TColor bgColor = NoColor;
  LeadByteSet tmLeadBytes;

  static TMyFont FromInfo(const ThtFontInfo& info) {
    return {info.iName,
            info.iSize,
            info.iStyle,
            info.iColor,
            info.iCharset,
            info.ibgColor,
            LeadBytesOfCharset(info.iCharset)};
  }
  bool operator==(const TMyFont&) const = default;
};

}  // namespace tessival::html
