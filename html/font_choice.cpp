#include "html/font_choice.h"

#include <array>
#include <utility>

#include "html/text_util.h"
#include "platform/screen_fonts.h"

namespace tessival::html {

namespace {

std::string_view MapGenericFamily(std::string_view name) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> generic = {{
      {"serif", "Times New Roman"},
      {"monospace", "Courier New"},
      {"sans-serif", "Arial"},
      {"cursive", "Lucida Handwriting"},
  }};
  for (const auto& [family, font] : generic) {
    if (EqualsNoCase(name, family)) return font;
  }
  return name;
}

}  // namespace

std::optional<std::string> FirstInstalledFont(std::string_view list) {
  while (true) {
    const auto comma = list.find(',');
    const std::string_view entry = MapGenericFamily(StripQuotes(Trim(list.substr(0, comma))));
    if (!entry.empty() && platform::IsScreenFontInstalled(entry)) return std::string(entry);
    if (comma == std::string_view::npos) return std::nullopt;
    list.remove_prefix(comma + 1);
  }
}

}  // namespace tessival::html
