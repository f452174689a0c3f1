#pragma once
// Reads the colour forms a document may write: #rgb, #rrggbb, rgb(r, g, b) with integers or
// percentages, and the named colours.
#include <optional>
#include <string_view>

#include "html/style_values.h"

namespace tessival::html {

// Hexadecimal and rgb() colours come back palette-relative, named colours plain;
// "transparent" is NoColor. Without `needHash` a bare hexadecimal text ("f0c") is a colour
// too. Nothing for text that is none of these.
std::optional<TColor> ColorFromString(std::string_view text, bool needHash);

}  // namespace tessival::html
