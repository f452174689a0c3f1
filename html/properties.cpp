#include "html/properties.h"

#include <charconv>
#include <utility>

#include "html/charsets.h"
#include "html/color_parser.h"
#include "html/font_choice.h"
#include "html/style_list.h"
#include "html/style_units.h"
#include "html/text_util.h"
#include "platform/screen_fonts.h"

namespace tessival::html {

namespace {

// What a child does not take over from its parent; the box slots restart unset instead.
constexpr bool IsNotInherited(int index) {
  switch (index) {
    case piBorderStyle:
    case piBackgroundColor:
    case piBorderColor:
    case piBackgroundImage:
    case piBackgroundPosition:
    case piBackgroundRepeat:
    case piVerticalAlign:
    case piPosition:
    case piFloat:
    case piClear:
    case piPageBreakBefore:
    case piPageBreakAfter:
    case piPageBreakInside:
    case piDisplay: return true;
    default: return false;
  }
}

PropValue InheritedValue(int index, const PropValue& parentValue) {
  if (IsBoxSlot(index)) return UnsetValue;
  if (IsNotInherited(index)) return {};
  return parentValue;
}

constexpr bool IsFontGroup(int index) {
  return index == piFontFamily || index == piFontSize || index == piFontStyle || index == piFontWeight ||
         index == piTextDecoration || index == piColor || index == piBackgroundColor;
}

bool IsSideStyle(int index) { return index >= piBorderTopStyle && index <= piBorderLeftStyle; }

std::optional<int> WholeNumber(std::string_view text) {
  text = Trim(text);
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool IsBoldWeight(std::string_view weight) {
  if (weight.find("bold") != std::string_view::npos) return true;
  const auto number = WholeNumber(weight);
  return number && *number >= 600;
}

bool IsItalicStyle(std::string_view style) { return style == "italic" || style == "oblique"; }

// Painting cannot make anything of sizes beyond these, and absurd input must not reach it.
constexpr int MinFontPoints = 1;
constexpr int MaxFontPoints = 1000;

int ClampFontPoints(double points) {
  return std::clamp(RoundToInt(points), MinFontPoints, MaxFontPoints);
}

void SetStyleBit(int& style, int bit, bool on) { style = on ? style | bit : style & ~bit; }

}  // namespace

// The values a new element or rule starts with: the box slots unset, z-index 0, the rest
// empty. Made in place, slot by slot: every rule of a style sheet starts here.
PropValue InitialValue(std::size_t index) {
  if (IsBoxSlot(static_cast<int>(index))) return UnsetValue;
  if (index == piZIndex) return 0;
  return {};
}

template <std::size_t... Index>
std::array<PropValue, PropCount> InitialValues(std::index_sequence<Index...>) {
  return {InitialValue(Index)...};
}

TProperties::TProperties() : Props(InitialValues(std::make_index_sequence<PropCount>())) {
  CodePage = CodePageOfCharset(CharSet).value_or(0);
}

void TProperties::SetProp(PropIndex index, PropValue value) {
  Props[index] = std::move(value);
  CachedFont.reset();
}

void TProperties::Assign(const TProperties& other) {
  Props = other.Props;
  CachedFont.reset();
}

void TProperties::CopyDefault(const TProperties& defaults) {
  Assign(defaults);
  CharSet = defaults.CharSet;
  CodePage = defaults.CodePage;
  DefaultFontSize = defaults.DefaultFontSize;
  PropTag = "default";
  OpenFilter = FilterBitsOf(PropTag, {}, {});
  MeasureParentFont(*this);
}

void TProperties::Inherit(const TProperties& parent) {
  for (int i = 0; i < PropCount; ++i) Props[i] = InheritedValue(i, parent.Props[i]);
  Assigned.reset();
  CachedFont.reset();
  TextBackground = parent.TextBackground;
  CharSet = parent.CharSet;
  CodePage = parent.CodePage;
  PropTitle = parent.PropTitle;
  DefaultFontSize = parent.DefaultFontSize;
  InLink = parent.InLink;
  FontInfoArray = parent.InLink ? parent.FontInfoArray : std::nullopt;
  Parent = &parent;
  OpenFilter = parent.OpenFilter;
  MeasureParentFont(parent);
}

void TProperties::MeasureParentFont(const TProperties& parent) {
  const TMyFont font = parent.GetFont();
  const auto metrics = platform::MeasureScreenFont(
      {font.Name, font.Size, (font.Style & fsBold) != 0, (font.Style & fsItalic) != 0, font.Charset});
  EmSize = metrics.em_height_px;
  ExSize = EmSize / 2;
}

void TProperties::Combine(const TStyleList& styles, std::string_view tag, const TProperties* styleProps,
                          std::string_view title, std::string_view pseudo, std::string_view id,
                          std::string_view klass) {
  DefaultFontSize = styles.DefaultFontSize();
  const double* inherited = AsDouble(Props[piFontSize]);
  const double reference = inherited && *inherited != 0 ? *inherited : DefaultFontSize;
  MergeStyleSheet(styles, tag, pseudo, id, klass);
  if (styleProps) Merge(*styleProps);
  ResolveFontSize(reference);
  PropTag = tag;
  PropClass = klass;
  PropID = id;
  PropPseudo = pseudo;
  PropStyle = styleProps;
  if (!title.empty()) PropTitle = title;
  OpenFilter = (Parent ? Parent->OpenFilter : 0) | FilterBitsOf(tag, klass, id);
  if (pseudo == "link") ComputeLinkFonts(styles);
}

void TProperties::ResolveFontSize(double reference) {
  if (const auto text = AsString(Props[piFontSize])) {
    SetProp(piFontSize, FontSizeToPoints(*text, reference, DefaultFontSize));
  }
}

void TProperties::ComputeLinkFonts(const TStyleList& styles) {
  const bool keepable = LinkLooksKeepable(styles);
  TLinkLooksCache& cache = styles.LinkLooksCache();
  if (const TFontInfoArray* known = keepable ? cache.Find(*this) : nullptr) {
    FontInfoArray = *known;
  } else {
    FontInfoArray = WorkOutLinkLooks(styles);
    if (keepable) cache.Add(*this, *FontInfoArray);
  }
  InLink = true;
}

TFontInfoArray TProperties::WorkOutLinkLooks(const TStyleList& styles) const {
  // The other looks come from short-lived elements stacked above this one, combined as
  // real ones would be, so that :visited and :hover rules apply to them.
  auto lookAbove = [&](const TProperties& below, std::string_view pseudo) {
    auto temporary = std::make_unique<TProperties>();
    temporary->Inherit(below);
    temporary->Combine(styles, PropTag, PropStyle, {}, pseudo, PropID, PropClass);
    return temporary;
  };
  const auto visited = lookAbove(*this, "visited");
  const auto visitedHover = lookAbove(*visited, "hover");
  const auto hover = lookAbove(*this, "hover");
  TFontInfoArray fonts;
  fonts[lfNormal] = GetFontInfo();
  fonts[lfVisited] = visited->GetFontInfo();
  fonts[lfHover] = hover->GetFontInfo();
  fonts[lfVisitedHover] = visitedHover->GetFontInfo();
  return fonts;
}

void TProperties::ReInherit(const TProperties& parent, const TStyleList& styles) {
  for (int i = 0; i < PropCount; ++i) {
    if (!Assigned[i]) Props[i] = InheritedValue(i, parent.Props[i]);
  }
  CachedFont.reset();
  Parent = &parent;
  OpenFilter = parent.OpenFilter | FilterBitsOf(PropTag, PropClass, PropID);
  if (parent.InLink) {
    FontInfoArray = parent.FontInfoArray;
    InLink = true;
  } else if (PropPseudo != "link") {
    FontInfoArray.reset();
    InLink = false;
  } else {
    ComputeLinkFonts(styles);
  }
}

void TProperties::Merge(const TProperties& source) {
  for (int i = 0; i < PropCount; ++i) {
    const PropValue& value = source.Props[i];
    if (IsEmpty(value)) continue;
    if (IsBoxSlot(i)) {
      const int* number = AsInt(value);
      if (number && *number == UnsetValue) continue;
    }
    Props[i] = value;
    Assigned[i] = true;
    if (FontInfoArray && IsFontGroup(i)) ApplyLinkFontChange(static_cast<PropIndex>(i), value);
  }
  CachedFont.reset();
}

void TProperties::AssignProperty(PropIndex index, PropValue value) {
  if (Assigned[index]) return;
  SetProp(index, std::move(value));
  Assigned[index] = true;
  if (FontInfoArray && (index == piFontFamily || index == piFontSize || index == piColor)) {
    ApplyLinkFontChange(index, Props[index]);
  }
}

void TProperties::ApplyLinkFontChange(PropIndex index, const PropValue& value) {
  const auto text = AsString(value);
  const int* number = AsInt(value);
  const std::optional<std::string> family = index == piFontFamily && text ? FirstInstalledFont(*text)
                                                                          : std::nullopt;
  for (ThtFontInfo& font : *FontInfoArray) {
    switch (index) {
      case piFontFamily:
        if (family) font.iName = *family;
        break;
      case piFontSize:
        if (text) font.iSize = ClampFontPoints(FontSizeToPoints(*text, font.iSize, DefaultFontSize));
        if (const double* points = AsDouble(value)) font.iSize = ClampFontPoints(*points);
        break;
      case piFontStyle:
        if (text && IsItalicStyle(*text)) SetStyleBit(font.iStyle, fsItalic, true);
        if (text && *text == "normal") SetStyleBit(font.iStyle, fsItalic, false);
        break;
      case piFontWeight:
        if (text && IsBoldWeight(*text)) SetStyleBit(font.iStyle, fsBold, true);
        else if (text && text->find("normal") != std::string::npos)
          SetStyleBit(font.iStyle, fsBold, false);
        break;
      case piTextDecoration:
        if (text && *text == "underline") SetStyleBit(font.iStyle, fsUnderline, true);
        if (text && *text == "line-through") SetStyleBit(font.iStyle, fsStrikeOut, true);
        if (text && *text == "none") SetStyleBit(font.iStyle, fsUnderline | fsStrikeOut, false);
        break;
      case piColor:
        if (number) font.iColor = static_cast<TColor>(*number);
        break;
      case piBackgroundColor:
        if (number) font.ibgColor = static_cast<TColor>(*number);
        break;
      default: break;
    }
  }
}

void TProperties::SetByName(std::string_view name, std::string_view text) {
  if (const auto index = PropertyIndexOf(name)) SetByIndex(*index, text);
}

void TProperties::SetReadValue(PropIndex index, std::string_view text) {
  switch (index) {
    case piBorderStyle:
      SetText(piBorderStyle, text);
      for (int side = piBorderTopStyle; side <= piBorderLeftStyle; ++side) {
        SetText(static_cast<PropIndex>(side), text);
      }
      break;
    case piColor: SetProp(index, ColorValue(ColorFromString(text, false).value_or(0))); break;
    case piBackgroundColor:
    case piBorderColor:
      SetProp(index, ColorValue(ColorFromString(text, false).value_or(NoColor)));
      break;
    case piVisibility:
      if (text == "visible") SetProp(index, 2);
      if (text == "hidden") SetProp(index, 1);
      break;
    case piTextTransform: SetProp(index, text == "uppercase" ? 1 : text == "lowercase" ? 2 : 0); break;
    case piZIndex:
      // Stored as the number layout reads; a z-index that is not a number is ignored.
      if (const auto number = WholeNumber(text)) SetProp(index, *number);
      break;
    default:
      SetText(index, text);
      if (IsSideStyle(index) && text != "none") SetText(piBorderStyle, text);
      break;
  }
}

void TProperties::SetCharset(int charset) {
  const int obtained =
      charset == DefaultCharset
          ? DefaultCharset
          : platform::MeasureScreenFont({"Arial", 12, false, false, charset}).obtained_charset;
  CharSet = obtained;
  if (FontInfoArray) {
    for (ThtFontInfo& font : *FontInfoArray) font.iCharset = obtained;
  }
  if (const auto codePage = CodePageOfCharset(obtained)) CodePage = *codePage;
  CachedFont.reset();
}

void TProperties::UpdateTextBackground() {
  const int* color = AsInt(Props[piBackgroundColor]);
  if (color && Assigned[piBackgroundColor]) {
    TextBackground = static_cast<TColor>(*color);
    CachedFont.reset();
  }
}

double TProperties::FontSizePoints() const {
  if (const double* points = AsDouble(Props[piFontSize])) return *points;
  if (const auto text = AsString(Props[piFontSize])) {
    return FontSizeToPoints(*text, DefaultFontSize, DefaultFontSize);
  }
  return DefaultFontSize;
}

ThtFontInfo TProperties::GetFontInfo() const {
  ThtFontInfo info;
  const int* color = AsInt(Props[piColor]);
  info.iColor = color ? static_cast<TColor>(*color) : 0;
  info.ibgColor = TextBackground;
  info.iCharset = CharSet;
  info.iSize = ClampFontPoints(FontSizePoints());
  const auto weight = AsString(Props[piFontWeight]);
  const auto style = AsString(Props[piFontStyle]);
  const auto decoration = AsString(Props[piTextDecoration]);
  if (weight && IsBoldWeight(*weight)) info.iStyle |= fsBold;
  if (style && IsItalicStyle(*style)) info.iStyle |= fsItalic;
  if (decoration && *decoration == "underline") info.iStyle |= fsUnderline;
  else if (decoration && *decoration == "line-through") info.iStyle |= fsStrikeOut;
  if (const auto family = AsString(Props[piFontFamily])) {
    const auto installed = FirstInstalledFont(*family);
    info.iName = installed ? *installed : std::string(*family);
    // Symbol fonts have no letters to map a code page onto.
    if (installed && ContainsNoCase(*installed, "dings")) info.iCharset = DefaultCharset;
  }
  return info;
}

TMyFont TProperties::GetFont() const {
  if (!CachedFont) CachedFont = TMyFont::FromInfo(GetFontInfo());
  return *CachedFont;
}

}  // namespace tessival::html
