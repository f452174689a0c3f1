#include "layout/list_markers.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tessival::layout {
namespace {

// clang-format off
constexpr std::array<std::string_view, 20> kRomanNumerals = {
    "i",  "ii",  "iii",  "iv",  "v",  "vi",  "vii",  "viii",  "ix",  "x",
    "xi", "xii", "xiii", "xiv", "xv", "xvi", "xvii", "xviii", "xix", "xx"};
// clang-format on

std::string Upper(std::string text) {
  for (char& ch : text) ch = static_cast<char>(ch - 'a' + 'A');
  return text;
}

// Pixels of the ellipse inscribed in [left, right) x [top, bottom): whether the pixel's
// centre lies inside it.
bool InEllipse(int column, int row, int width, int height) {
  const double dx = (column + 0.5 - width / 2.0) / (width / 2.0);
  const double dy = (row + 0.5 - height / 2.0) / (height / 2.0);
  return dx * dx + dy * dy <= 1.0;
}

void DrawEllipse(platform::Canvas& canvas, const platform::Rect& box, bool filled,
                 platform::TColor color) {
  const int width = box.Width(), height = box.Height();
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      if (!InEllipse(column, row, width, height)) continue;
      const bool edge = column == 0 || row == 0 || column == width - 1 || row == height - 1 ||
                        !InEllipse(column - 1, row, width, height) ||
                        !InEllipse(column + 1, row, width, height) ||
                        !InEllipse(column, row - 1, width, height) ||
                        !InEllipse(column, row + 1, width, height);
      if (filled || edge)
        canvas.FillRect(platform::Rect::FromSize(box.left + column, box.top + row, 1, 1), color);
    }
  }
}

}  // namespace

std::string MarkerText(html::TListStyleType style, int number) {
  const bool letters = style == html::lbLowerAlpha || style == html::lbUpperAlpha;
  const bool roman = style == html::lbLowerRoman || style == html::lbUpperRoman;
  const bool upper = style == html::lbUpperAlpha || style == html::lbUpperRoman;
  std::string text;
  if (letters && number >= 1) {
    text = std::string(1, static_cast<char>('a' + std::min(number - 1, 25)));
  } else if (roman && number >= 1) {
    text = std::string(kRomanNumerals[static_cast<std::size_t>(std::min(number, 20) - 1)]);
  } else {
    text = std::to_string(number);
  }
  if (upper && number >= 1) text = Upper(std::move(text));
  return text + ".";
}

bool IsShapeMarker(html::TListStyleType style) {
  return style == html::lbDisc || style == html::lbCircle || style == html::lbSquare;
}

void DrawMarkerShape(platform::Canvas& canvas, html::TListStyleType style, int x, int y,
                     platform::TColor color) {
  switch (style) {
    case html::lbCircle: DrawEllipse(canvas, {x - 16, y - 7, x - 9, y}, false, color); break;
    case html::lbDisc: DrawEllipse(canvas, {x - 15, y - 6, x - 10, y - 1}, true, color); break;
    case html::lbSquare: canvas.FillRect({x - 15, y - 6, x - 10, y - 1}, color); break;
    default: break;
  }
}

}  // namespace tessival::layout
