#pragma once
// The box of a block in pixels: margins, borders, padding, width, height and position,
// resolved from the element's style values for one available width and height, and the
// content width that follows from them. Kept apart from TBlock so the arithmetic can be
// checked without a document.
#include "html/properties.h"

namespace tessival::layout {

struct TBlockBox {
  int MarginTop = 0;
  int MarginRight = 0;
  int MarginBottom = 0;
  int MarginLeft = 0;
  int PaddingTop = 0;
  int PaddingRight = 0;
  int PaddingBottom = 0;
  int PaddingLeft = 0;
  int BorderTopWidth = 0;
  int BorderRightWidth = 0;
  int BorderBottomWidth = 0;
  int BorderLeftWidth = 0;
  int BoxWidth = html::AutoValue;  // AutoValue when not given
  int BoxHeight = 0;
  int PosTop = html::AutoValue;
  int PosLeft = html::AutoValue;
  int AutoCount = 0;  // "auto" among the left margin, the width and the right margin

  // Left and right borders and paddings.
  int HorizontalExtras() const {
    return BorderLeftWidth + PaddingLeft + PaddingRight + BorderRightWidth;
  }
  int LeftExtras() const { return MarginLeft + BorderLeftWidth + PaddingLeft; }
  int RightExtras() const { return PaddingRight + BorderRightWidth + MarginRight; }
};

// The largest length of a box value, either way; a page that asks for more gets this.
constexpr int kMaxBoxLength = 10000;
int ClampBoxLength(int length);

// What the block's element gave, as stored at creation, with the units it needs.
struct TGivenBox {
  html::TVMarginArray Values;
  int EmSize = 16;
  int ExSize = 8;

  bool operator==(const TGivenBox& other) const = default;
};

// Resolves every value but the top and bottom margins, which were fixed at creation and
// are taken from `margins`. Percentages of widths are of `baseWidth`, of the height of
// `availHeight`.
TBlockBox ResolveBox(const TGivenBox& given, int baseWidth, int availHeight, const TBlockBox& margins);

struct TWidthRule {
  bool Floating = false;
  bool Absolute = false;
};

// The content width for an available width; auto margins are fixed on the way (centring
// a block of given width, or taking up what is left beside it).
int ComputeContentWidth(TBlockBox& box, int availWidth, int contentMin, int contentMax, TWidthRule rule);

}  // namespace tessival::layout
