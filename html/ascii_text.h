#pragma once
// Byte-level helpers for the readers' single-byte text: only ASCII letters change case,
// and trimming removes every character of code 32 or less, as the readers' rules say.
#include <string>
#include <string_view>

namespace tessival::html::ascii {

inline unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
inline char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
inline char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

inline std::string ToLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = Lower(c);
  return lower;
}

inline std::string ToUpper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = Upper(c);
  return upper;
}

inline std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && Byte(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && Byte(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

}  // namespace tessival::html::ascii
