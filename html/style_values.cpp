#include "html/style_values.h"

#include <cstddef>
#include <cstdint>

#include "html/name_table.h"

namespace tessival::html {

// The table keeps its hand-made columns.
// clang-format off
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
// clang-format on

namespace {

// Every declaration of every sheet looks its name up.
constexpr std::size_t NameSlots = 128;  // a power of two, well above PropCount

// The length and three characters tell the names apart well enough for a table this
// sparse, and cost the same for every name; the compare after it decides.
constexpr std::uint32_t NameHash(std::string_view name) {
  if (name.empty()) return 0;
  const auto at = [name](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(name[i]));
  };
  std::uint32_t hash = static_cast<std::uint32_t>(name.size());
  hash = hash * 31 + at(0);
  hash = hash * 31 + at(name.size() / 2);
  hash = hash * 31 + at(name.size() - 1);
  return hash ^ hash >> 7;
}

constexpr std::string_view PropertyNameAt(int i) { return PropertyNames[i]; }

}  // namespace

std::optional<PropIndex> PropertyIndexOf(std::string_view name) {
  static constexpr auto table = BuildNameSlots<NameSlots>(PropCount, NameHash, PropertyNameAt);
  const int index = FindName(table, name, NameHash, PropertyNameAt);
  if (index == NoName) return std::nullopt;
  return static_cast<PropIndex>(index);
}

}  // namespace tessival::html
