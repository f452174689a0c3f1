#pragma once
// The value conventions of the style model: the sentinels, the colour encoding and the 48
// property slots with their names.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "html/prop_value.h"

namespace tessival::html {

// Colours are 0x00BBGGRR; the flags below mark palette-relative and system colours.
using TColor = std::uint32_t;
constexpr TColor NoColor = 0x1FFFFFFF;
constexpr TColor PaletteRelative = 0x02000000;

// Length sentinels.
constexpr int UnsetValue = -12345678;           // not given
constexpr int AutoValue = -12348765;            // "auto"
constexpr int ParagraphSpaceValue = -12348766;  // the default paragraph space
constexpr int ParagraphSpacePixels = 14;

enum PropIndex : int {
  piFontFamily,
  piFontSize,
  piFontStyle,
  piFontWeight,
  piTextAlign,
  piTextDecoration,
  piBorderStyle,
  piColor,
  piBackgroundColor,
  piBorderColor,
  piMarginTop,
  piMarginRight,
  piMarginBottom,
  piMarginLeft,
  piPaddingTop,
  piPaddingRight,
  piPaddingBottom,
  piPaddingLeft,
  piBorderTopWidth,
  piBorderRightWidth,
  piBorderBottomWidth,
  piBorderLeftWidth,
  piBorderTopStyle,
  piBorderRightStyle,
  piBorderBottomStyle,
  piBorderLeftStyle,
  piWidth,
  piHeight,
  piTop,
  piLeft,
  piVisibility,
  piLineHeight,
  piBackgroundImage,
  piBackgroundPosition,
  piBackgroundRepeat,
  piVerticalAlign,
  piPosition,
  piZIndex,
  piListStyleType,
  piListStyleImage,
  piFloat,
  piClear,
  piTextIndent,
  piPageBreakBefore,
  piPageBreakAfter,
  piPageBreakInside,
  piTextTransform,
  piDisplay,
};
constexpr int PropCount = 48;

// The box lengths and side styles (margin-top .. left) are the slots that start unset.
constexpr bool IsBoxSlot(int index) { return index >= piMarginTop && index <= piLeft; }

// The property names in slot order.
extern const std::array<std::string_view, PropCount> PropertyNames;

// The slot of a lower-case property name, or nothing for a name the model does not hold.
std::optional<PropIndex> PropertyIndexOf(std::string_view name);

inline bool IsEmpty(const PropValue& v) { return v.IsEmpty(); }
inline std::optional<std::string_view> AsString(const PropValue& v) { return v.TextValue(); }
inline const int* AsInt(const PropValue& v) { return v.IntValue(); }
inline const double* AsDouble(const PropValue& v) { return v.DoubleValue(); }
inline PropValue ColorValue(TColor c) { return static_cast<int>(c); }

}  // namespace tessival::html
