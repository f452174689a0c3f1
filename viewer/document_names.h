#pragma once
// How the frame viewer compares and splits the document names it is handed: names are
// compared without case, and "file#anchor" parts into the file and the anchor.
#include <string>
#include <utility>

#include "html/ascii_text.h"

namespace tessival::viewer {

inline bool SameName(const std::string& a, const std::string& b) {
  return html::ToLower(a) == html::ToLower(b);
}

inline std::pair<std::string, std::string> SplitAnchor(const std::string& name) {
  const std::size_t hash = name.find('#');
  if (hash == std::string::npos) return {name, {}};
  return {name.substr(0, hash), name.substr(hash + 1)};
}

}  // namespace tessival::viewer
