#include "html/color_parser.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string>

#include "html/name_table.h"
#include "html/text_util.h"

namespace tessival::html {

namespace {

struct NamedColor {
  std::string_view name;
  std::uint32_t rgb;  // written 0xRRGGBB as everyone knows them
};

// The table keeps its hand-made columns.
// clang-format off
constexpr NamedColor NamedColors[] = {
    {"black", 0x000000}, {"maroon", 0x800000}, {"green", 0x008000}, {"olive", 0x808000},
    {"navy", 0x000080}, {"purple", 0x800080}, {"teal", 0x008080}, {"gray", 0x808080},
    {"silver", 0xC0C0C0}, {"red", 0xFF0000}, {"lime", 0x00FF00}, {"yellow", 0xFFFF00},
    {"blue", 0x0000FF}, {"fuchsia", 0xFF00FF}, {"aqua", 0x00FFFF}, {"white", 0xFFFFFF},
    {"aliceblue", 0xF0F8FF}, {"antiquewhite", 0xFAEBD7}, {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF}, {"beige", 0xF5F5DC}, {"bisque", 0xFFE4C4},
    {"blanchedalmond", 0xFFEBCD}, {"blueviolet", 0x8A2BE2}, {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887}, {"cadetblue", 0x5F9EA0}, {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E}, {"coral", 0xFF7F50}, {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC}, {"crimson", 0xDC143C}, {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B}, {"darkcyan", 0x008B8B}, {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9}, {"darkgreen", 0x006400}, {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B}, {"darkolivegreen", 0x556B2F}, {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC}, {"darkred", 0x8B0000}, {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F}, {"darkslateblue", 0x483D8B}, {"darkslategray", 0x2F4F4F},
    {"darkturquoise", 0x00CED1}, {"darkviolet", 0x9400D3}, {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF}, {"dimgray", 0x696969}, {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222}, {"floralwhite", 0xFFFAF0}, {"forestgreen", 0x228B22},
    {"gainsboro", 0xDCDCDC}, {"ghostwhite", 0xF8F8FF}, {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520}, {"greenyellow", 0xADFF2F}, {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4}, {"indianred", 0xCD5C5C}, {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0}, {"khaki", 0xF0E68C}, {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5}, {"lawngreen", 0x7CFC00}, {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6}, {"lightcoral", 0xF08080}, {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2}, {"lightgreen", 0x90EE90}, {"lightgrey", 0xD3D3D3},
    {"lightpink", 0xFFB6C1}, {"lightsalmon", 0xFFA07A}, {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA}, {"lightslategray", 0x778899}, {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0}, {"limegreen", 0x32CD32}, {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF}, {"mediumaquamarine", 0x66CDAA}, {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3}, {"mediumpurple", 0x9370DB}, {"mediumseagreen", 0x3CB371},
    {"mediumslateblue", 0x7B68EE}, {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC}, {"mediumvioletred", 0xC71585}, {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA}, {"mistyrose", 0xFFE4E1}, {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD}, {"oldlace", 0xFDF5E6}, {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500}, {"orangered", 0xFF4500}, {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA}, {"palegreen", 0x98FB98}, {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093}, {"papayawhip", 0xFFEFD5}, {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F}, {"pink", 0xFFC0CB}, {"plum", 0xDDA0DD}, {"powderblue", 0xB0E0E6},
    {"rosybrown", 0xBC8F8F}, {"royalblue", 0x4169E1}, {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072}, {"sandybrown", 0xF4A460}, {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE}, {"sienna", 0xA0522D}, {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD}, {"slategray", 0x708090}, {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F}, {"steelblue", 0x4682B4}, {"tan", 0xD2B48C},
    {"thistle", 0xD8BFD8}, {"tomato", 0xFF6347}, {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE}, {"wheat", 0xF5DEB3}, {"whitesmoke", 0xF5F5F5},
    {"yellowgreen", 0x9ACD32},
};
// clang-format on
// Together with the table, the 141 names a document may use.
constexpr std::string_view TransparentName = "transparent";
static_assert(std::size(NamedColors) + 1 == 141);

TColor FromRgb(int r, int g, int b) {
  return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}

// Every word of every border and background shorthand is asked whether it is a colour.
constexpr std::size_t NameSlots = 512;  // a power of two, well above the 140 names

constexpr std::string_view ColorNameAt(int i) { return NamedColors[i].name; }

std::optional<TColor> LookUpName(std::string_view name) {
  if (name == TransparentName) return NoColor;
  static constexpr auto table = BuildNameSlots<NameSlots>(static_cast<int>(std::size(NamedColors)),
                                                          HashWholeText, ColorNameAt);
  const int index = FindName(table, name, HashWholeText, ColorNameAt);
  if (index == NoName) return std::nullopt;
  const NamedColor& entry = NamedColors[index];
  return FromRgb(entry.rgb >> 16 & 0xFF, entry.rgb >> 8 & 0xFF, entry.rgb & 0xFF);
}

int RgbComponent(std::string_view text) {
  text = Trim(text);
  double value = 0;
  if (const auto percent = text.find('%'); percent != std::string_view::npos) {
    const auto number = Trim(text.substr(0, percent));
    std::from_chars(number.data(), number.data() + number.size(), value);
    value = std::nearbyint(value * 255 / 100);  // 50% is exactly 127.5
  } else {
    int whole = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), whole);
    if (ec == std::errc() && end == text.data() + text.size()) value = whole;
  }
  if (!(value > 0)) return 0;  // also catches NaN
  return value > 255 ? 255 : static_cast<int>(value);
}

TColor ParseRgbTriple(std::string_view text) {
  const auto open = text.find('(');
  std::string_view inner = open == std::string_view::npos ? std::string_view{} : text.substr(open + 1);
  inner = inner.substr(0, inner.find(')'));
  std::array<int, 3> components{};
  for (int& component : components) {
    const auto comma = inner.find(',');
    component = RgbComponent(inner.substr(0, comma));
    inner = comma == std::string_view::npos ? std::string_view{} : inner.substr(comma + 1);
  }
  return FromRgb(components[0], components[1], components[2]) | PaletteRelative;
}

int HexDigitValue(char c) {
  if (IsAsciiDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The digits are the text without its "#"s; three or fewer stand for doubled digits ("f0c"
// is "ff00cc"). More than six cannot be a 24-bit colour; reading them would wrap.
std::optional<TColor> ParseHex(std::string_view text, bool needHash) {
  constexpr std::size_t kMaxDigits = 6;
  std::array<int, kMaxDigits> digits{};
  std::size_t count = 0;
  for (char c : text) {
    if (c == '#') continue;
    if (count == kMaxDigits) return std::nullopt;
    digits[count] = HexDigitValue(c);
    if (digits[count] < 0) return std::nullopt;
    ++count;
  }
  if ((needHash && count == text.size()) || count == 0) return std::nullopt;
  std::uint32_t rgb = 0;
  for (std::size_t i = 0; i < count; ++i) {
    rgb = count <= 3 ? rgb << 8 | static_cast<std::uint32_t>(digits[i] * 0x11)
                     : rgb << 4 | static_cast<std::uint32_t>(digits[i]);
  }
  return FromRgb(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF) | PaletteRelative;
}

// What ParseHex makes of "#" and `digits`, read in one pass; nothing when a character is no
// hexadecimal digit, for the general path to judge.
std::optional<std::optional<TColor>> HashAndDigits(std::string_view digits) {
  std::uint32_t rgb = 0;
  const bool doubled = digits.size() <= 3;
  for (const char c : digits) {
    const int digit = HexDigitValue(c);
    if (digit < 0) return std::nullopt;
    rgb = doubled ? rgb << 8 | static_cast<std::uint32_t>(digit * 0x11)
                  : rgb << 4 | static_cast<std::uint32_t>(digit);
  }
  if (digits.size() > 6) return std::optional<TColor>();
  return FromRgb(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF) | PaletteRelative;
}

bool IsPlainWord(std::string_view text) {
  if (text.empty()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((c < 'a' || c > 'z') && c != '-') return false;
    if (c == 'r' && text.substr(i, 3) == "rgb") return false;
  }
  return true;
}

bool HasUpperCase(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
}

}  // namespace

std::optional<TColor> ColorFromString(std::string_view text, bool needHash) {
  text = Trim(text);
  // A word of small letters and "-" with no "rgb" in it ("solid", "no-repeat") is a colour
  // only by name, or by hexadecimal digits where no "#" is needed.
  if (IsPlainWord(text)) {
    if (const auto named = LookUpName(text)) return named;
    return needHash ? std::nullopt : ParseHex(text, false);
  }
  // The usual form, "#" and hexadecimal digits, has nothing to lower and no "rgb" in it.
  if (text.size() > 1 && text[0] == '#') {
    if (const auto color = HashAndDigits(text.substr(1))) return *color;
  }
  // The style-sheet reader hands over lower-case text; only other text is copied to lower it.
  std::string lowered;
  if (HasUpperCase(text)) {
    lowered = ToLower(text);
    text = lowered;
  }
  const std::size_t rgb = text.find("rgb");
  const bool rgbCall = rgb != std::string_view::npos && text.find("rgb(", rgb) != std::string_view::npos;
  if (!text.starts_with('#') && !rgbCall) {
    if (auto named = LookUpName(text)) return named;
  }
  if (rgb != std::string_view::npos) return ParseRgbTriple(text);
  return ParseHex(text, needHash);
}

}  // namespace tessival::html
