#include "html/style_values.h"

#include <cstddef>

namespace tessival::html {

constexpr std::array<std::string_view, PropCount> PropertyNames = {
    "font-family", "font-size", "font-style", "font-weight", "text-align", "text-decoration",
    "border-style", "color", "background-color", "border-color",
    "margin-top", "margin-right", "margin-bottom", "margin-left",
    "padding-top", "padding-right", "padding-bottom", "padding-left",
    "border-top-width", "border-right-width", "border-bottom-width", "border-left-width",
    "border-top-style", "border-right-style", "border-bottom-style", "border-left-style",
    "width", "height", "top", "left",
    "visibility", "line-height", "background-image", "background-position", "background-repeat",
    "vertical-align", "position", "z-index", "list-style-type", "list-style-image", "float",
    "clear", "text-indent", "page-break-before", "page-break-after", "page-break-inside",
    "text-transform", "display",
};

namespace {

// Every declaration of every sheet looks its name up, so the names sit in an open-addressed
// hash table built at compile time: one hash over the name and, nearly always, one compare.
constexpr std::size_t NameSlots = 128;  // a power of two, well above PropCount
constexpr int NoSlot = -1;

// The length and three characters tell the names apart well enough for a table this
// sparse, and cost the same for every name; the compare after it decides.
constexpr std::uint32_t NameHash(std::string_view name) {
  if (name.empty()) return 0;
  const auto at = [name](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(name[i])); };
  std::uint32_t hash = static_cast<std::uint32_t>(name.size());
  hash = hash * 31 + at(0);
  hash = hash * 31 + at(name.size() / 2);
  hash = hash * 31 + at(name.size() - 1);
  return hash ^ hash >> 7;
}

using NameTable = std::array<int, NameSlots>;

constexpr NameTable BuildNameTable() {
  NameTable table{};
  for (int& slot : table) slot = NoSlot;
  for (int i = 0; i < PropCount; ++i) {
    std::size_t at = NameHash(PropertyNames[i]) & (NameSlots - 1);
    while (table[at] != NoSlot) at = (at + 1) & (NameSlots - 1);
    table[at] = i;
  }
  return table;
}

}  // namespace

std::optional<PropIndex> PropertyIndexOf(std::string_view name) {
  static constexpr NameTable table = BuildNameTable();
  for (std::size_t at = NameHash(name) & (NameSlots - 1); table[at] != NoSlot; at = (at + 1) & (NameSlots - 1)) {
    if (PropertyNames[table[at]] == name) return static_cast<PropIndex>(table[at]);
  }
  return std::nullopt;
}

}  // namespace tessival::html
