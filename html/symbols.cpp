#include "html/symbols.h"

#include <array>
#include <string>
#include <vector>

#include "html/ascii_text.h"

namespace tessival::html {
namespace {

// The tag names in table order; entry i has the start symbol HtmlSy + i, and the first
// TagsWithEnd entries have the end symbol HtmlEndSy + i.
// The table keeps its hand-made columns.
// clang-format off
constexpr std::array<std::string_view, TagCount> kTagNames = {
    "HTML", "TITLE", "BODY", "HEAD", "B", "I", "H", "EM", "STRONG", "U", "CITE", "VAR", "TT",
    "CODE", "KBD", "SAMP", "OL", "UL", "DIR", "MENU", "DL", "A", "ADDRESS", "BLOCKQUOTE",
    "PRE", "CENTER", "TABLE", "TD", "TH", "CAPTION", "FORM", "TEXTAREA", "SELECT", "OPTION",
    "FONT", "SUB", "SUP", "BIG", "SMALL", "P", "MAP", "FRAMESET", "NOFRAMES", "SCRIPT", "DIV",
    "S", "STRIKE", "TR", "NOBR", "STYLE", "SPAN", "LI", "BR", "HR", "DD", "DT", "IMG", "BASE",
    "BUTTON", "INPUT", "SELECTED", "BASEFONT", "AREA", "FRAME", "PAGE", "BGSOUND", "WRAP",
    "META", "PANEL", "WBR", "LINK"};

struct AttributeEntry {
  std::string_view name;
  Symbol symbol;
};
// clang-format on

// Searched front to back, so the second VALUE entry is never reached.
constexpr std::array<AttributeEntry, AttributeCount> kAttributes = {{
    {"HREF", HrefSy},
    {"NAME", NameSy},
    {"SRC", SrcSy},
    {"ALT", AltSy},
    {"ALIGN", AlignSy},
    {"TEXT", TextSy},
    {"BGCOLOR", BgColorSy},
    {"LINK", LinkSy},
    {"BACKGROUND", BackgroundSy},
    {"COLSPAN", ColSpanSy},
    {"ROWSPAN", RowSpanSy},
    {"BORDER", BorderSy},
    {"CELLPADDING", CellPaddingSy},
    {"CELLSPACING", CellSpacingSy},
    {"VALIGN", VAlignSy},
    {"WIDTH", WidthSy},
    {"START", StartSy},
    {"VALUE", ValueSy},
    {"TYPE", TypeSy},
    {"CHECKBOX", CheckBoxSy},
    {"RADIO", RadioSy},
    {"METHOD", MethodSy},
    {"ACTION", ActionSy},
    {"CHECKED", CheckedSy},
    {"SIZE", SizeSy},
    {"MAXLENGTH", MaxLengthSy},
    {"COLS", ColsSy},
    {"ROWS", RowsSy},
    {"MULTIPLE", MultipleSy},
    {"VALUE", ValueSy},
    {"SELECTED", SelectedSy},
    {"FACE", FaceSy},
    {"COLOR", ColorSy},
    {"TRANSP", TranspSy},
    {"CLEAR", ClearSy},
    {"ISMAP", IsMapSy},
    {"BORDERCOLOR", BorderColorSy},
    {"USEMAP", UseMapSy},
    {"SHAPE", ShapeSy},
    {"COORDS", CoordsSy},
    {"NOHREF", NoHrefSy},
    {"HEIGHT", HeightSy},
    {"PLAIN", PlainSy},
    {"TARGET", TargetSy},
    {"NORESIZE", NoResizeSy},
    {"SCROLLING", ScrollingSy},
    {"HSPACE", HSpaceSy},
    {"LANGUAGE", LanguageSy},
    {"FRAMEBORDER", FrameBorderSy},
    {"MARGINWIDTH", MarginWidthSy},
    {"MARGINHEIGHT", MarginHeightSy},
    {"LOOP", LoopSy},
    {"ONCLICK", OnClickSy},
    {"WRAP", WrapSy},
    {"NOSHADE", NoShadeSy},
    {"HTTP-EQUIV", HttpEqSy},
    {"CONTENT", ContentSy},
    {"ENCTYPE", EncTypeSy},
    {"VLINK", VLinkSy},
    {"OLINK", OLinkSy},
    {"ACTIVE", ActiveSy},
    {"VSPACE", VSpaceSy},
    {"CLASS", ClassSy},
    {"ID", IDSy},
    {"STYLE", StyleSy},
    {"REL", RelSy},
    {"REV", RevSy},
    {"NOWRAP", NoWrapSy},
    {"BORDERCOLORLIGHT", BorderColorLightSy},
    {"BORDERCOLORDARK", BorderColorDarkSy},
    {"CHARSET", CharSetSy},
    {"RATIO", RatioSy},
    {"TITLE", TitleSy},
    {"ONFOCUS", OnFocusSy},
    {"ONBLUR", OnBlurSy},
    {"ONCHANGE", OnChangeSy},
}};

// The tables are searched in their order, but only among the names that share the first
// letter: the same answers as a search through the whole table, at a fraction of the
// comparisons. Both tables hold upper-case names that start with a letter.
template <std::size_t N, typename NameOf>
std::array<std::vector<int>, 26> BucketsByFirstLetter(NameOf nameOf) {
  std::array<std::vector<int>, 26> buckets;
  for (std::size_t i = 0; i < N; ++i) buckets[nameOf(i).front() - 'A'].push_back(static_cast<int>(i));
  return buckets;
}

template <typename NameOf>
int SearchBucket(const std::array<std::vector<int>, 26>& buckets, std::string_view upperName,
                 NameOf nameOf) {
  if (upperName.empty() || upperName.front() < 'A' || upperName.front() > 'Z') return -1;
  for (int index : buckets[upperName.front() - 'A']) {
    if (nameOf(index) == upperName) return index;
  }
  return -1;
}

std::string_view TagNameAt(std::size_t i) { return kTagNames[i]; }
std::string_view AttributeNameAt(std::size_t i) { return kAttributes[i].name; }

int TagIndexOf(std::string_view upperName) {
  static const auto buckets = BucketsByFirstLetter<TagCount>(TagNameAt);
  if (upperName.size() > MaxTagNameLength) return -1;
  return SearchBucket(buckets, upperName, TagNameAt);
}

// Lower-cased end-tag names, made once so EndTagName can hand out views.
const std::array<std::string, TagsWithEnd>& LowerEndNames() {
  static const auto names = [] {
    std::array<std::string, TagsWithEnd> lower;
    for (int i = 0; i < TagsWithEnd; ++i) lower[i] = ascii::ToLower(kTagNames[i]);
    return lower;
  }();
  return names;
}

}  // namespace

Symbol StartSymbolOf(std::string_view upperName) {
  const int index = TagIndexOf(upperName);
  return index < 0 ? UnknownTagToken : static_cast<Symbol>(HtmlSy + index);
}

Symbol EndSymbolOf(std::string_view upperName) {
  const int index = TagIndexOf(upperName);
  return index < 0 || index >= TagsWithEnd ? UnknownTagToken : static_cast<Symbol>(HtmlEndSy + index);
}

Symbol AttributeSymbolOf(std::string_view upperName) {
  static const auto buckets = BucketsByFirstLetter<AttributeCount>(AttributeNameAt);
  if (upperName.size() > MaxAttributeNameLength) return OtherAttribute;
  const int index = SearchBucket(buckets, upperName, AttributeNameAt);
  return index < 0 ? OtherAttribute : kAttributes[index].symbol;
}

std::string StartTagName(Symbol start, int headingLevel) {
  if (start < HtmlSy || start > LinkSy) return {};
  if (start == HeadingSy) {
    std::string name(1, 'h');
    name += std::to_string(headingLevel);
    return name;
  }
  return ascii::ToLower(kTagNames[start - HtmlSy]);
}

std::string_view EndTagName(Symbol end) {
  if (!IsEndTag(end)) return {};
  return LowerEndNames()[end - HtmlEndSy];
}

Symbol EndSymbolOfStart(Symbol start) {
  if (start < HtmlSy || start > SpanSy) return UnknownTagToken;
  return static_cast<Symbol>(HtmlEndSy + (start - HtmlSy));
}

}  // namespace tessival::html
