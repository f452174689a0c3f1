#pragma once
// The names of the character references the reader knows, and their code points.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessival::html {

// The longest name the reader collects; "hellip" and "frac14" just fit.
constexpr int MaxEntityNameLength = 6;

// Code point of a named reference (case-sensitive), or nothing. The special names are
// searched first and the search stops at the first match, so "rsquo" is an apostrophe
// and "ndash" a hyphen, and "nbsp" is the text model's non-breaking space character 5.
std::optional<std::uint32_t> NamedEntityCode(std::string_view name);

}  // namespace tessival::html
