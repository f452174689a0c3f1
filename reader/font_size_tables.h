#pragma once
// HTML font sizes 1 to 7 in points, for running text and for preformatted text, following
// the viewer's default font size (the tables are drawn for a 12-point default).
#include <array>
#include <string_view>

namespace tessival::layout {

enum class TTextKind { Normal, Preformatted };

constexpr int MinHtmlFontSize = 1;
constexpr int MaxHtmlFontSize = 7;
constexpr int DefaultBaseFontSize = 3;

class TFontSizeTables {
 public:
  explicit TFontSizeTables(double defaultFontSize = 12) { SetDefaultFontSize(defaultFontSize); }
  void SetDefaultFontSize(double points);
  // The point size of an HTML size, which is clamped to 1..7 first.
  double Points(int htmlSize, TTextKind kind) const;

 private:
  std::array<double, 7> Normal{};
  std::array<double, 7> Pre{};
};

// The HTML size a SIZE attribute asks for: "+n" and "-n" are relative to the base font size;
// the result is clamped to 1..7.
int HtmlFontSize(std::string_view sizeText, int numericValue, int baseFontSize);

}  // namespace tessival::layout
