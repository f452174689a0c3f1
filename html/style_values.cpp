#include "html/style_values.h"

#include <algorithm>

namespace tessival::html {

const std::array<std::string_view, PropCount> PropertyNames = {
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

// The names in alphabetical order with their slots: every declaration of every sheet looks
// its name up here.
using NameIndex = std::array<std::pair<std::string_view, PropIndex>, PropCount>;

NameIndex SortedNames() {
  NameIndex sorted;
  for (int i = 0; i < PropCount; ++i) sorted[i] = {PropertyNames[i], static_cast<PropIndex>(i)};
  std::sort(sorted.begin(), sorted.end());
  return sorted;
}

}  // namespace

std::optional<PropIndex> PropertyIndexOf(std::string_view name) {
  static const NameIndex sorted = SortedNames();
  const auto it = std::lower_bound(sorted.begin(), sorted.end(), name,
                                   [](const auto& entry, std::string_view n) { return entry.first < n; });
  if (it == sorted.end() || it->first != name) return std::nullopt;
  return it->second;
}

}  // namespace tessival::html
