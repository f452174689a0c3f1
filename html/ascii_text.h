#pragma once
// Byte-level helpers for the readers' single-byte text: only ASCII letters change case,
// and trimming removes every character of code 32 or less, as the readers' rules say.
#include <string>
#include <string_view>

#include "html/text_util.h"

namespace tessival::html::ascii {

// The same rules as the style layer's helpers (html/text_util.h), under the readers' names.
inline unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
inline char Lower(char c) { return LowerAscii(c); }
inline char Upper(char c) { return UpperAscii(c); }
using html::ToLower;

inline std::string ToUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = Upper(c);
  return upper;
}

inline std::string_view TrimControls(std::string_view text) { return html::Trim(text); }

}  // namespace tessival::html::ascii
