#pragma once
// List markers: the text of a numbered marker and the small shapes of bullets.
#include <string>

#include "html/properties.h"
#include "platform/canvas.h"

namespace tessival::layout {

// "3.", "c.", "iv." ...: letters stop at z (Z), roman numerals at xx (XX); a number below
// 1 has no letter or numeral and shows as a decimal number.
std::string MarkerText(html::TListStyleType style, int number);

// Whether the style draws a shape (disc, circle, square) rather than text.
bool IsShapeMarker(html::TListStyleType style);

// Draws a disc, circle or square whose right end lies 9 or 10 pixels left of x, with its
// bottom on the baseline y.
void DrawMarkerShape(platform::Canvas& canvas, html::TListStyleType style, int x, int y,
                     platform::TColor color);

}  // namespace tessival::layout
