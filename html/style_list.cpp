#include "html/style_list.h"

#include "html/color_parser.h"

namespace tessival::html {

TStyleList::TStyleList() = default;

void TStyleList::Clear() {
  Items.clear();
  Default = nullptr;
  SeqNumber = FirstSeqNumber;
  HoverRules = false;
}

TProperties& TStyleList::AddObject(std::string_view key, std::unique_ptr<TProperties> props) {
  props->PropTag = std::string(key);
  props->DefaultFontSize = DefFontSize;
  TStyleEntry entry{std::move(props), ParseSelectorKey(key)};
  const auto it = Items.emplace(std::string(key), std::move(entry));
  return *it->second.Props;
}

TProperties& TStyleList::AddDuplicate(std::string_view key, const TProperties& props) {
  auto copy = std::make_unique<TProperties>();
  copy->Assign(props);
  return AddObject(key, std::move(copy));
}

TProperties* TStyleList::Find(std::string_view key) {
  const auto it = Items.find(key);
  return it == Items.end() ? nullptr : it->second.Props.get();
}

const TProperties* TStyleList::Find(std::string_view key) const {
  const auto it = Items.find(key);
  return it == Items.end() ? nullptr : it->second.Props.get();
}

TProperties& TStyleList::FindOrAdd(std::string_view key) {
  if (TProperties* found = Find(key)) return *found;
  return AddObject(key, std::make_unique<TProperties>());
}

void TStyleList::SetColorProp(std::string_view key, PropIndex index, TColor color) {
  if (TProperties* props = Find(key)) props->SetProp(index, ColorValue(color));
}

void TStyleList::SetLinkColor(std::string_view state, TColor color) {
  SetColorProp("::" + std::string(state), piColor, color);
}

bool TStyleList::AddModifyProp(std::string_view selector, std::string_view propertyName,
                               std::string_view value) {
  const auto index = PropertyIndexOf(propertyName);
  if (!index) return false;
  if (selector.find(":hover") != std::string_view::npos) HoverRules = true;
  TProperties& props = FindOrAdd(selector);
  switch (*index) {
    case piColor:
      if (const auto color = ColorFromString(value, false)) {
        props.SetProp(piColor, ColorValue(*color));
        if (selector == ":link") {
          SetColorProp("::hover", piColor, *color);
          SetColorProp("::visited", piColor, *color);
        } else if (selector == ":visited") {
          SetColorProp("::hover", piColor, *color);
        }
      }
      break;
    case piBackgroundColor:
    case piBorderColor:
      props.SetProp(*index, ColorValue(ColorFromString(value, false).value_or(NoColor)));
      break;
    default:
      props.SetByName(propertyName, value);
      break;
  }
  // A rule for A is a rule for every link.
  if (selector == "a") AddModifyProp("::link", propertyName, value);
  return true;
}

}  // namespace tessival::html
