#include "reader/font_size_tables.h"

#include <algorithm>

namespace tessival::layout {

namespace {

constexpr std::array<double, 7> NormalPoints = {8, 10, 12, 14, 18, 24, 36};
constexpr std::array<double, 7> PrePoints = {7, 8, 10, 12, 15, 20, 30};

}  // namespace

void TFontSizeTables::SetDefaultFontSize(double points) {
  const double scale = points / 12.0;
  for (std::size_t i = 0; i < Normal.size(); ++i) {
    Normal[i] = NormalPoints[i] * scale;
    Pre[i] = PrePoints[i] * scale;
  }
}

double TFontSizeTables::Points(int htmlSize, TTextKind kind) const {
  const auto index = static_cast<std::size_t>(std::clamp(htmlSize, MinHtmlFontSize, MaxHtmlFontSize) -
                                              1);
  return kind == TTextKind::Preformatted ? Pre[index] : Normal[index];
}

int HtmlFontSize(std::string_view sizeText, int numericValue, int baseFontSize) {
  int size = numericValue;
  const bool relative = sizeText.size() > 1 && (sizeText.front() == '+' || sizeText.front() == '-');
  if (relative) size += baseFontSize;
  return std::clamp(size, MinHtmlFontSize, MaxHtmlFontSize);
}

}  // namespace tessival::layout
