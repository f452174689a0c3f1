#pragma once
// Small single-byte text helpers shared by the style model and the CSS reader. Text is
// Windows-1252 bytes; only ASCII letters change case, as in the rest of the engine.
#include <string>
#include <string_view>

namespace tessival::html {

constexpr char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
constexpr char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }
constexpr bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
// Trimming drops spaces and control characters at both ends.
constexpr bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

inline std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsTrimmed(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsTrimmed(text.back())) text.remove_suffix(1);
  return text;
}
std::string ToLower(std::string_view text);
bool ContainsNoCase(std::string_view text, std::string_view part);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Removes one pair of enclosing quotes (both ends the same quote character).
std::string_view StripQuotes(std::string_view text);

}  // namespace tessival::html
