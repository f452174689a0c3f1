// The questions layout asks an element's properties, answered from the stored values.
#include <array>
#include <charconv>

#include "html/properties.h"
#include "html/style_units.h"
#include "html/text_util.h"

namespace tessival::html {

namespace {

std::string_view TextOrEmpty(const PropValue& value) {
  const auto text = AsString(value);
  return text ? std::string_view(*text) : std::string_view{};
}

std::optional<std::string> UrlOf(const PropValue& value) {
  const auto text = AsString(value);
  if (!text) return std::nullopt;
  if (Trim(*text) == "none") return std::string();
  return ExtractUrl(*text);
}

double LeadingNumber(std::string_view text) {
  text = Trim(text);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

TBackgroundPosition PlaceOf(std::string_view word, int emSize, int exSize) {
  TBackgroundPosition place;
  if (word == "top") place.PosType = TBackgroundPlace::bpTop;
  else if (word == "bottom") place.PosType = TBackgroundPlace::bpBottom;
  else if (word == "left") place.PosType = TBackgroundPlace::bpLeft;
  else if (word == "right") place.PosType = TBackgroundPlace::bpRight;
  else if (word == "center") place.PosType = TBackgroundPlace::bpCenter;
  else if (word.find('%') != std::string_view::npos) {
    place.PosType = TBackgroundPlace::bpPercent;
    place.Value = RoundToInt(LeadingNumber(word));
  } else {
    place.Value = LengthToPixels(word, LengthBase::Absolute, 0, 0, exSize, emSize);
  }
  return place;
}

bool IsVertical(std::string_view word) { return word == "top" || word == "bottom"; }
bool IsHorizontal(std::string_view word) { return word == "left" || word == "right"; }

}  // namespace

std::string ExtractUrl(std::string_view text) {
  std::string_view url = Trim(text);
  if (const auto open = url.find("url("); open != std::string_view::npos) {
    url.remove_prefix(open + 4);
    url = url.substr(0, url.find(')'));
  }
  return std::string(StripQuotes(Trim(url)));
}

std::optional<std::string> TProperties::BackgroundImage() const {
  return UrlOf(Props[piBackgroundImage]);
}
std::optional<std::string> TProperties::ListStyleImage() const { return UrlOf(Props[piListStyleImage]); }

TBackgroundPositions TProperties::BackgroundPosition(int emSize, int exSize) const {
  TBackgroundPositions result;
  if (const auto text = AsString(Props[piBackgroundPosition])) {
    const std::string_view trimmed = Trim(*text);
    const auto space = trimmed.find(' ');
    const std::string_view first = trimmed.substr(0, space);
    const std::string_view second = space == std::string_view::npos ? std::string_view{}
                                                                    : Trim(trimmed.substr(space + 1));
    const TBackgroundPosition center{TBackgroundPlace::bpCenter, 0, true};
    result.X = result.Y = center;
    auto place = [&](std::string_view word) { return PlaceOf(word, emSize, exSize); };
    if (second.empty()) {
      (IsVertical(first) ? result.Y : result.X) = place(first);
    } else if (IsVertical(first) || IsHorizontal(second)) {
      // "top left", "center left": the words name their own axes.
      result.X = place(second);
      result.Y = place(first);
    } else {
      result.X = place(first);
      result.Y = place(second);
    }
  }
  const std::string_view repeat = TextOrEmpty(Props[piBackgroundRepeat]);
  result.X.RepeatD = repeat != "no-repeat" && repeat != "repeat-y";
  result.Y.RepeatD = repeat != "no-repeat" && repeat != "repeat-x";
  return result;
}

TAlignmentType TProperties::VerticalAlign() const {
  const std::string_view align = TextOrEmpty(Props[piVerticalAlign]);
  if (align == "top" || align == "text-top") return TAlignmentType::aTop;
  if (align == "middle") return TAlignmentType::aMiddle;
  if (align == "baseline") return TAlignmentType::aBaseline;
  if (align == "bottom") return TAlignmentType::aBottom;
  return TAlignmentType::aNone;
}

TFloatSide TProperties::Float() const {
  const std::string_view side = TextOrEmpty(Props[piFloat]);
  if (side == "left") return TFloatSide::fsLeft;
  if (side == "right") return TFloatSide::fsRight;
  if (side == "none") return TFloatSide::fsNone;
  return TFloatSide::fsNotGiven;
}

TClearSide TProperties::Clear() const {
  const std::string_view side = TextOrEmpty(Props[piClear]);
  if (side == "left") return TClearSide::csLeft;
  if (side == "right") return TClearSide::csRight;
  if (side == "both") return TClearSide::csBoth;
  if (side == "none") return TClearSide::csNone;
  return TClearSide::csNotGiven;
}

TListStyleType TProperties::ListStyleType() const {
  static constexpr std::array<std::string_view, 10> names = {"blank",      "circle",      "decimal",
                                                             "disc",       "lower-alpha", "lower-roman",
                                                             "none",       "square",      "upper-alpha",
                                                             "upper-roman"};
  const std::string_view type = TextOrEmpty(Props[piListStyleType]);
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == type) return static_cast<TListStyleType>(i);
  }
  return lbBlank;
}

TPositionType TProperties::Position() const {
  const std::string_view position = TextOrEmpty(Props[piPosition]);
  if (position == "absolute") return posAbsolute;
  if (position == "relative") return posRelative;
  return posStatic;
}

bool TProperties::Hidden() const {
  const int* visibility = AsInt(Props[piVisibility]);
  return visibility && *visibility == 1;
}

int TProperties::ZIndex() const {
  const int* z = AsInt(Props[piZIndex]);
  return z ? *z : 0;
}

bool TProperties::DisplayNone() const { return TextOrEmpty(Props[piDisplay]) == "none"; }

int TProperties::LineHeight(int fontHeight) const {
  const auto text = AsString(Props[piLineHeight]);
  if (!text) return 0;
  const std::string_view value = Trim(*text);
  double number = 0;
  const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
  if (ec == std::errc() && end == value.data() + value.size()) return RoundToInt(number * fontHeight);
  return LengthToPixels(value, LengthBase::Relative, EmSize, 0, ExSize, EmSize);
}

TTextIndent TProperties::TextIndent() const {
  const auto text = AsString(Props[piTextIndent]);
  if (!text) return {};
  if (text->find('%') != std::string::npos) return {RoundToInt(LeadingNumber(*text)), true};
  return {LengthToPixels(*text, LengthBase::Absolute, 0, 0, EmSize, EmSize), false};
}

bool TProperties::PageBreakBefore() const { return TextOrEmpty(Props[piPageBreakBefore]) == "always"; }
bool TProperties::PageBreakAfter() const { return TextOrEmpty(Props[piPageBreakAfter]) == "always"; }
bool TProperties::PageBreakInsideAvoid() const {
  return TextOrEmpty(Props[piPageBreakInside]) == "avoid";
}

TColor TProperties::BackgroundColor() const {
  const int* color = AsInt(Props[piBackgroundColor]);
  return color && Assigned[piBackgroundColor] ? static_cast<TColor>(*color) : NoColor;
}

TColor TProperties::Color() const {
  const int* color = AsInt(Props[piColor]);
  return color && Assigned[piColor] ? static_cast<TColor>(*color) : NoColor;
}

bool TProperties::HasBorderStyle() const {
  const auto style = AsString(Props[piBorderStyle]);
  return style && *style != "none";
}

TVMarginArray TProperties::GetVMarginArray() const {
  TVMarginArray box;
  for (int i = 0; i < BoxCount; ++i) {
    const int index = BoxFirst + i;
    if (index >= piBorderTopStyle && index <= piBorderLeftStyle) {
      const std::string_view style = TextOrEmpty(Props[index]);
      box[i] = style.empty() || style == "none" ? 0 : 1;
    } else {
      box[i] = Props[index];
    }
  }
  return box;
}

TBoxPixels TProperties::BoxPixels(int width) const {
  const TVMarginArray box = GetVMarginArray();
  TBoxPixels result;
  for (int i = 0; i < BoxCount; ++i) {
    if (const auto text = AsString(box[i])) {
      // "auto" stays recognisable for the block layout that centres and stretches.
      result.Pixels[i] = Trim(*text) == "auto"
                             ? AutoValue
                             : LengthToPixels(*text, LengthBase::Absolute, width, 0, ExSize, EmSize);
    } else if (const int* number = AsInt(box[i])) {
      if (*number == ParagraphSpaceValue) {
        result.Pixels[i] = ParagraphSpacePixels;
        result.ParagraphSpace.set(i);
      } else {
        result.Pixels[i] = *number == UnsetValue ? 0 : *number;
      }
    }
  }
  return result;
}

}  // namespace tessival::html
