#pragma once
// The refresh a META element asks for: "5; url=next.htm" waits five seconds and loads
// next.htm.
#include <optional>
#include <string>
#include <string_view>

namespace tessival::viewer {

struct MetaRefresh {
  int Seconds = 0;  // at least 1: an immediate refresh still waits a second
  std::string Url;  // as written in the page, possibly empty
};

// The refresh of a META element whose http-equiv is "refresh"; nothing when the content
// does not begin with a number.
std::optional<MetaRefresh> ParseMetaRefresh(std::string_view content);

}  // namespace tessival::viewer
