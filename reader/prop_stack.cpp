#include "reader/prop_stack.h"

#include "html/css_parser.h"
#include "html/text_util.h"

namespace tessival::layout {

void TPropStack::Reset() {
  Entries.clear();
  auto root = std::make_unique<html::TProperties>();
  if (const html::TProperties* defaults = Styles->DefaultProperties()) root->CopyDefault(*defaults);
  Entries.push_back({std::move(root), nullptr});
}

html::TProperties& TPropStack::PushElement(std::string_view name, const TElementInfo& info) {
  if (Entries.empty()) Reset();
  Entry entry;
  entry.Props = std::make_unique<html::TProperties>();
  if (!info.Style.empty()) {
    entry.StyleProps = std::make_unique<html::TProperties>();
    html::ParseStyleAttribute(info.Style, *entry.StyleProps);
  }
  entry.Props->Inherit(Last());
  entry.Props->Combine(*Styles, name, entry.StyleProps.get(), info.Title, info.Pseudo,
                       html::ToLower(info.ID), html::ToLower(info.Class));
  Entries.push_back(std::move(entry));
  return Last();
}

bool TPropStack::PopElement(std::string_view name) {
  std::size_t found = 0;
  for (std::size_t i = Entries.size(); i-- > 1;) {
    if (Entries[i].Props->PropTag == name) {
      found = i;
      break;
    }
  }
  if (found == 0) return false;
  Entries.erase(Entries.begin() + static_cast<std::ptrdiff_t>(found));
  // Re-inherit also when the removed entry sat right on the root: the element above it
  // took its looks from the removed one just the same.
  for (std::size_t i = found; i < Entries.size(); ++i) {
    Entries[i].Props->ReInherit(*Entries[i - 1].Props, *Styles);
  }
  return true;
}

void TPropStack::PopTo(std::size_t depth) {
  if (depth < 1) depth = 1;
  while (Entries.size() > depth) Entries.pop_back();
}

}  // namespace tessival::layout
