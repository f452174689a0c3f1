#include "platform/colors.h"

#include <array>

namespace tessival::platform {
namespace {

// The table keeps its hand-made columns.
// clang-format off
constexpr std::array<TColor, SysColorCount> kSysColors = {
    RGB(0xC0, 0xC0, 0xC0),  // scroll bar
    RGB(0x00, 0x80, 0x80),  // desktop
    RGB(0x00, 0x00, 0x80),  // active caption
    RGB(0x80, 0x80, 0x80),  // inactive caption
    RGB(0xC0, 0xC0, 0xC0),  // menu
    RGB(0xFF, 0xFF, 0xFF),  // window
    RGB(0x00, 0x00, 0x00),  // window frame
    RGB(0x00, 0x00, 0x00),  // menu text
    RGB(0x00, 0x00, 0x00),  // window text
    RGB(0xFF, 0xFF, 0xFF),  // caption text
    RGB(0xC0, 0xC0, 0xC0),  // active border
    RGB(0xC0, 0xC0, 0xC0),  // inactive border
    RGB(0x80, 0x80, 0x80),  // application workspace
    RGB(0x00, 0x00, 0x80),  // highlight
    RGB(0xFF, 0xFF, 0xFF),  // highlight text
    RGB(0xC0, 0xC0, 0xC0),  // button face
    RGB(0x80, 0x80, 0x80),  // button shadow
    RGB(0x80, 0x80, 0x80),  // grey text
    RGB(0x00, 0x00, 0x00),  // button text
    RGB(0xC0, 0xC0, 0xC0),  // inactive caption text
    RGB(0xFF, 0xFF, 0xFF),  // button highlight
    RGB(0x00, 0x00, 0x00),  // 3D dark shadow
    RGB(0xDF, 0xDF, 0xDF),  // 3D light
    RGB(0x00, 0x00, 0x00),  // tooltip text
    RGB(0xFF, 0xFF, 0xE1),  // tooltip background
};
// clang-format on

}  // namespace

TColor GetSysColor(int index) {
  if (index < 0 || index >= SysColorCount) return 0;
  return kSysColors[static_cast<std::size_t>(index)];
}

TColor PlainColor(TColor color) {
  if (IsSystemColor(color)) return GetSysColor(static_cast<int>(color & 0x00FFFFFF));
  if ((color & 0xFF000000) == 0 || IsPaletteRelative(color)) return color & 0x00FFFFFF;
  return 0;
}

}  // namespace tessival::platform
