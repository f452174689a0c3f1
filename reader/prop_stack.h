#pragma once
// The stack of open elements while a document is read: one `TProperties` per open element,
// each inheriting from the one below it and combined with the document's style sheet.
// Entry 0 is the document root.
#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "html/properties.h"
#include "html/style_list.h"

namespace tessival::layout {

// What an element brings to the style computation besides its name.
struct TElementInfo {
  std::string_view Class;
  std::string_view ID;
  std::string_view Style;  // the text of its style attribute
  std::string_view Title;
  std::string_view Pseudo;  // "link" for an A with HREF
};

class TPropStack {
 public:
  explicit TPropStack(const html::TStyleList& styles) : Styles(&styles) {}
  TPropStack(const TPropStack&) = delete;
  TPropStack& operator=(const TPropStack&) = delete;

  // Empties the stack and opens the root: a copy of the sheet's default properties.
  void Reset();
  void Clear() { Entries.clear(); }

  // Opens an element: it inherits from the top and is combined with the sheet. Class and
  // id are matched lower-cased.
  html::TProperties& PushElement(std::string_view name, const TElementInfo& info = {});
  // Closes the topmost open element of that name (never the root); nothing when none is
  // open. Every element that was above it inherits again from its new parent, so a close
  // out of order removes only that element's styling.
  bool PopElement(std::string_view name);
  // Closes everything above `depth` entries (a structure reader leaving its elements).
  void PopTo(std::size_t depth);

  html::TProperties& Last() { return *Entries.back().Props; }
  const html::TProperties& Last() const { return *Entries.back().Props; }
  html::TProperties& operator[](std::size_t index) { return *Entries[index].Props; }
  std::size_t Count() const { return Entries.size(); }
  int LastIndex() const { return static_cast<int>(Entries.size()) - 1; }

 private:
  struct Entry {
    std::unique_ptr<html::TProperties> Props;
    // The element's style attribute, read; its properties point here.
    std::unique_ptr<html::TProperties> StyleProps;
  };

  const html::TStyleList* Styles;
  // Entries are held by pointer: every element keeps a pointer to the one below it.
  std::vector<Entry> Entries;
};

}  // namespace tessival::layout
