#include "layout/block_box.h"

#include <algorithm>
#include <string_view>

#include "html/style_units.h"
#include "html/text_util.h"

namespace tessival::layout {
namespace {

using html::AutoValue;
using html::UnsetValue;

const html::PropValue& Given(const TGivenBox& given, html::PropIndex index) {
  return given.Values[index - html::BoxFirst];
}

bool IsAutoText(const html::PropValue& value) {
  const auto text = html::AsString(value);
  return text && html::Trim(*text) == "auto";
}

// A length in pixels; `unset` for no value at all. Lengths are kept within
// kMaxBoxLength each way, so sums of them down a deep tree stay far from overflow.
int Length(const TGivenBox& given, html::PropIndex index, double base, int unset) {
  const html::PropValue& value = Given(given, index);
  int length = unset;
  if (const auto text = html::AsString(value))
    length = html::LengthToPixels(*text, html::LengthBase::Absolute, base, 0, given.ExSize,
                                  given.EmSize);
  else if (const int* number = html::AsInt(value); number && *number != UnsetValue) length = *number;
  if (length == unset || length == html::ParagraphSpaceValue) return length;
  return ClampBoxLength(length);
}

int HorizontalMargin(const TGivenBox& given, html::PropIndex index, double base, int& autoCount) {
  if (IsAutoText(Given(given, index))) {
    ++autoCount;
    return AutoValue;
  }
  const int value = Length(given, index, base, 0);
  // The paragraph-space marker means nothing sideways.
  return value == html::ParagraphSpaceValue ? 0 : value;
}

int BorderWidth(const TGivenBox& given, html::PropIndex widthIndex, html::PropIndex styleIndex,
                double base) {
  const int* styled = html::AsInt(Given(given, styleIndex));
  if (!styled || *styled == 0) return 0;
  const html::PropValue& value = Given(given, widthIndex);
  if (const auto text = html::AsString(value)) {
    const std::string_view word = html::Trim(*text);
    if (word == "thin") return 2;
    if (word == "medium") return 4;
    if (word == "thick") return 6;
  }
  return std::max(0, Length(given, widthIndex, base, 4));
}

// Position offsets and the width: "auto" or nothing at all is AutoValue.
int AutoOrLength(const TGivenBox& given, html::PropIndex index, double base) {
  if (IsAutoText(Given(given, index))) return AutoValue;
  return Length(given, index, base, AutoValue);
}

// The width a block takes when its own width is "auto".
int StretchedWidth(const TBlockBox& box, int availWidth, int contentMin, int contentMax,
                   TWidthRule rule) {
  const int left = box.MarginLeft == AutoValue ? 0 : box.MarginLeft;
  const int right = box.MarginRight == AutoValue ? 0 : box.MarginRight;
  const int room = availWidth - box.HorizontalExtras() - left - right;
  if (rule.Absolute) {
    const int posLeft = box.PosLeft == AutoValue ? 0 : box.PosLeft;
    return std::max(contentMin, std::min(contentMax, room - posLeft));
  }
  return std::max(contentMin, room);
}

}  // namespace

int ClampBoxLength(int length) { return std::clamp(length, -kMaxBoxLength, kMaxBoxLength); }

TBlockBox ResolveBox(const TGivenBox& given, int baseWidth, int availHeight, const TBlockBox& margins) {
  TBlockBox box;
  const double width = baseWidth;
  box.MarginTop = margins.MarginTop;
  box.MarginBottom = margins.MarginBottom;
  box.MarginLeft = HorizontalMargin(given, html::piMarginLeft, width, box.AutoCount);
  box.MarginRight = HorizontalMargin(given, html::piMarginRight, width, box.AutoCount);
  box.PaddingTop = std::max(0, Length(given, html::piPaddingTop, width, 0));
  box.PaddingRight = std::max(0, Length(given, html::piPaddingRight, width, 0));
  box.PaddingBottom = std::max(0, Length(given, html::piPaddingBottom, width, 0));
  box.PaddingLeft = std::max(0, Length(given, html::piPaddingLeft, width, 0));
  box.BorderTopWidth = BorderWidth(given, html::piBorderTopWidth, html::piBorderTopStyle, width);
  box.BorderRightWidth = BorderWidth(given, html::piBorderRightWidth, html::piBorderRightStyle, width);
  box.BorderBottomWidth = BorderWidth(given, html::piBorderBottomWidth, html::piBorderBottomStyle,
                                      width);
  box.BorderLeftWidth = BorderWidth(given, html::piBorderLeftWidth, html::piBorderLeftStyle, width);
  box.BoxHeight = std::max(0, Length(given, html::piHeight, availHeight, 0));
  box.BoxWidth = AutoOrLength(given, html::piWidth, width);
  if (box.BoxWidth == AutoValue) ++box.AutoCount;
  else box.BoxWidth = std::max(0, box.BoxWidth);
  box.PosTop = AutoOrLength(given, html::piTop, availHeight);
  box.PosLeft = AutoOrLength(given, html::piLeft, width);
  return box;
}

int ComputeContentWidth(TBlockBox& box, int availWidth, int contentMin, int contentMax,
                        TWidthRule rule) {
  const int extras = box.HorizontalExtras();
  const bool autoWidth = box.BoxWidth == AutoValue;
  int width = 0;
  switch (box.AutoCount) {
    case 0: width = std::max(box.BoxWidth, contentMin); break;
    case 1:
      if (autoWidth) {
        width = StretchedWidth(box, availWidth, contentMin, contentMax, rule);
        break;
      }
      width = std::max(box.BoxWidth, contentMin);
      if (box.MarginLeft == AutoValue)
        box.MarginLeft = std::max(0, availWidth - extras - box.MarginRight - width);
      else if (rule.Floating) box.MarginRight = 0;
      else box.MarginRight = std::max(0, availWidth - extras - box.MarginLeft - width);
      break;
    case 2:
      if (autoWidth) {
        (box.MarginLeft == AutoValue ? box.MarginLeft : box.MarginRight) = 0;
        width = StretchedWidth(box, availWidth, contentMin, contentMax, rule);
        break;
      }
      width = std::max(box.BoxWidth, contentMin);
      box.MarginLeft = box.MarginRight = std::max(0, availWidth - width - extras) / 2;
      break;
    default:
      box.MarginLeft = box.MarginRight = 0;
      width = StretchedWidth(box, availWidth, contentMin, contentMax, rule);
      break;
  }
  // Whatever is still "auto" takes nothing from here on.
  if (box.MarginLeft == AutoValue) box.MarginLeft = 0;
  if (box.MarginRight == AutoValue) box.MarginRight = 0;
  return width;
}

}  // namespace tessival::layout
