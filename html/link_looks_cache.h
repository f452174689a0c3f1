#pragma once
// The four looks of links (plain, visited, hovered, both) remembered by what they are made
// from. A page's links nearly all stand in the same context, and working out their visited
// and hovered looks combines the style sheet three times over for each of them; links that
// start from the same properties, tag, class and id get the same looks.
//
// The style list owns one and forgets it whenever a rule changes. Links whose looks also
// depend on something the key does not hold (a style attribute, a descendant rule) are not
// kept here; the caller asks CanKeep first.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "html/font_info.h"
#include "html/properties.h"

namespace tessival::html {

class TLinkLooksCache {
 public:
  const TFontInfoArray* Find(const TProperties& link) const;
  void Add(const TProperties& link, const TFontInfoArray& looks);
  void Clear() { entries_.clear(); }
  std::size_t Count() const { return entries_.size(); }

 private:
  // A page of many differently styled links must not make every lookup long.
  static constexpr std::size_t MaxEntries = 16;

  struct Entry {
    std::array<PropValue, PropCount> Props;
    TColor TextBackground = NoColor;
    int CharSet = 0;
    int CodePage = 0;
    std::string Tag, Class, Id;
    TFontInfoArray Looks;
  };
  static bool Matches(const Entry& entry, const TProperties& link);

  std::vector<Entry> entries_;
};

}  // namespace tessival::html
