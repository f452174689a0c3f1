// The built-in style sheet every document starts from.
#include <initializer_list>

#include "html/style_list.h"

namespace tessival::html {

namespace {

using Settings = std::initializer_list<std::pair<PropIndex, PropValue>>;

void AddRule(TStyleList& list, std::initializer_list<std::string_view> keys, Settings settings) {
  auto props = std::make_unique<TProperties>();
  for (const auto& [index, value] : settings) props->SetProp(index, value);
  for (auto key = keys.begin() + 1; key != keys.end(); ++key) list.AddDuplicate(*key, *props);
  list.AddObject(*keys.begin(), std::move(props));
}

PropValue Text(std::string_view text) { return std::string(text); }

}  // namespace

void TStyleList::Initialize(const TStyleDefaults& d) {
  Clear();
  DefFontSize = d.FontSize;
  const double size = d.FontSize;
  const PropValue paragraph = ParagraphSpaceValue;

  auto defaults = std::make_unique<TProperties>();
  for (const auto& [index, value] : Settings{{piFontFamily, Text(d.FontName)},
                                             {piFontSize, size},
                                             {piFontStyle, Text("none")},
                                             {piFontWeight, Text("normal")},
                                             {piTextAlign, Text("left")},
                                             {piTextDecoration, Text("none")},
                                             {piTextTransform, 0},
                                             {piColor, ColorValue(d.TextColor)},
                                             {piMarginTop, d.MarginHeight},
                                             {piMarginBottom, d.MarginHeight},
                                             {piMarginLeft, d.MarginWidth},
                                             {piMarginRight, d.MarginWidth},
                                             {piVisibility, 2}}) {
    defaults->SetProp(index, value);
  }
  defaults->SetCharset(d.Charset);
  Default = &AddObject("default", std::move(defaults));

  AddRule(*this, {"::link"},
          {{piColor, ColorValue(d.LinkColor | PaletteRelative)},
           {piTextDecoration, Text(d.UnderlineLinks ? "underline" : "none")}});
  AddRule(*this, {"::visited"}, {{piColor, ColorValue(d.VisitedColor | PaletteRelative)}});
  AddRule(*this, {"::hover"}, {{piColor, ColorValue(d.HoverColor | PaletteRelative)}});
  AddRule(*this, {"null"}, {});
  AddRule(*this, {"pre"},
          {{piFontFamily, Text(d.PreFontName)},
           {piFontSize, size * 10 / 12},
           {piFontStyle, Text("none")},
           {piFontWeight, Text("normal")},
           {piTextDecoration, Text("none")}});
  AddRule(*this, {"p"}, {{piMarginTop, paragraph}, {piMarginBottom, paragraph}});
  AddRule(*this, {"p 11pre"}, {{piMarginTop, 0}});
  AddRule(*this, {"ul", "ol", "menu", "dir"},
          {{piMarginLeft, 35},
           {piMarginTop, paragraph},
           {piMarginBottom, paragraph},
           {piListStyleType, Text("blank")}});
  AddRule(*this, {"dl"},
          {{piMarginLeft, 0}, {piMarginTop, 0}, {piMarginBottom, 0}, {piListStyleType, Text("none")}});
  AddRule(*this, {"dd"}, {{piMarginLeft, 40}, {piMarginTop, 0}, {piMarginBottom, 0}});
  AddRule(*this, {"blockquote"}, {{piMarginLeft, 35}, {piMarginTop, paragraph}, {piMarginBottom, 14}});
  AddRule(*this, {"code", "tt", "kbd", "samp"},
          {{piFontFamily, Text(d.PreFontName)}, {piFontSize, Text("0.833em")}});
  AddRule(*this, {"b", "strong", "th"}, {{piFontWeight, Text("bold")}});
  AddRule(*this, {"sup", "sub"}, {{piFontSize, Text("75%")}});
  AddRule(*this, {"big"}, {{piFontSize, Text("1.25em")}});
  AddRule(*this, {"small"}, {{piFontSize, Text("0.75em")}});
  AddRule(*this, {"table"}, {{piTextAlign, Text("none")}});
  AddRule(*this, {"i", "em", "cite", "var", "address"}, {{piFontStyle, Text("italic")}});
  AddRule(*this, {"u"}, {{piTextDecoration, Text("underline")}});
  AddRule(*this, {"s", "strike"}, {{piTextDecoration, Text("line-through")}});
  AddRule(*this, {"center", "caption"}, {{piTextAlign, Text("center")}});
  const Settings control = {{piFontSize, Text("10pt")},       {piFontStyle, Text("none")},
                            {piFontWeight, Text("normal")},   {piTextAlign, Text("left")},
                            {piTextDecoration, Text("none")}, {piColor, ColorValue(d.TextColor)}};
  AddRule(*this, {"input", "select"}, control);
  Find("input")->SetProp(piFontFamily, Text("MS sans serif, sans-serif"));
  Find("select")->SetProp(piFontFamily, Text("MS sans serif, sans-serif"));
  AddRule(*this, {"textarea"}, control);
  Find("textarea")->SetProp(piFontFamily, Text(d.PreFontName));
  AddRule(*this, {"hr"},
          {{piMarginLeft, 0}, {piMarginRight, 0}, {piMarginTop, 10}, {piMarginBottom, 10}});
  static constexpr std::pair<std::string_view, int> headings[] = {{"h1", 24}, {"h2", 18}, {"h3", 14},
                                                                  {"h4", 12}, {"h5", 10}, {"h6", 8}};
  for (const auto& [heading, twelfths] : headings) {
    AddRule(*this, {heading},
            {{piFontSize, size * twelfths / 12},
             {piMarginTop, 19},
             {piMarginBottom, 19},
             {piFontWeight, Text("bold")}});
  }
}

}  // namespace tessival::html
