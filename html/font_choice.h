#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tessival::html {

// The first entry of a comma-separated font-family list that is an installed screen font.
// Entries are trimmed and unquoted; the generic families map to the classic screen fonts.
// Nothing when no entry is installed.
std::optional<std::string> FirstInstalledFont(std::string_view list);

}  // namespace tessival::html
