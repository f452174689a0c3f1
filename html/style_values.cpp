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

std::optional<PropIndex> PropertyIndexOf(std::string_view name) {
  const auto it = std::ranges::find(PropertyNames, name);
  if (it == PropertyNames.end()) return std::nullopt;
  return static_cast<PropIndex>(it - PropertyNames.begin());
}

}  // namespace tessival::html
