#pragma once
// The value conventions of the style model: the sentinels, the colour encoding and the 48
// property slots with their names.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tessival::html {

// Colours are 0x00BBGGRR; the flags below mark palette-relative and system colours.
using TColor = std::uint32_t;
constexpr TColor NoColor = 0x1FFFFFFF;
constexpr TColor PaletteRelative = 0x02000000;

// Length sentinels.
constexpr int UnsetValue = -12345678;            // not given
constexpr int AutoValue = -12348765;             // "auto"
constexpr int ParagraphSpaceValue = -12348766;   // the default paragraph space
constexpr int ParagraphSpacePixels = 14;

enum PropIndex : int {
  piFontFamily, piFontSize, piFontStyle, piFontWeight, piTextAlign, piTextDecoration,
  piBorderStyle, piColor, piBackgroundColor, piBorderColor,
  piMarginTop, piMarginRight, piMarginBottom, piMarginLeft,
  piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft,
  piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth,
  piBorderTopStyle, piBorderRightStyle, piBorderBottomStyle, piBorderLeftStyle,
  piWidth, piHeight, piTop, piLeft,
  piVisibility, piLineHeight, piBackgroundImage, piBackgroundPosition, piBackgroundRepeat,
  piVerticalAlign, piPosition, piZIndex, piListStyleType, piListStyleImage, piFloat, piClear,
  piTextIndent, piPageBreakBefore, piPageBreakAfter, piPageBreakInside, piTextTransform,
  piDisplay,
};
constexpr int PropCount = 48;

// The box lengths and side styles (margin-top .. left) are the slots that start unset.
constexpr bool IsBoxSlot(int index) { return index >= piMarginTop && index <= piLeft; }

// The property names in slot order.
extern const std::array<std::string_view, PropCount> PropertyNames;

// The slot of a lower-case property name, or nothing for a name the model does not hold.
std::optional<PropIndex> PropertyIndexOf(std::string_view name);

// One property value: empty, an integer (lengths' sentinels, colours, flags), a
// floating-point number (font sizes after combining) or the text as written.
using PropValue = std::variant<std::monostate, int, double, std::string>;

inline bool IsEmpty(const PropValue& v) { return std::holds_alternative<std::monostate>(v); }
inline const std::string* AsString(const PropValue& v) { return std::get_if<std::string>(&v); }
inline const int* AsInt(const PropValue& v) { return std::get_if<int>(&v); }
inline const double* AsDouble(const PropValue& v) { return std::get_if<double>(&v); }
inline PropValue ColorValue(TColor c) { return static_cast<int>(c); }

}  // namespace tessival::html
