#pragma once
// What the tag reader needs to know about declared character sets: the font character set
// a declaration stands for, and the conversions of Japanese text to Shift-JIS.
#include <optional>
#include <string>
#include <string_view>

namespace tessival::layout {

// A declaration that names EUC-JP: the document is converted before its text is read.
struct TCharsetMatch {
  int Charset = 0;
  bool EucJp = false;
};

// The first row of the table whose key occurs in the lower-cased declaration.
std::optional<TCharsetMatch> CharsetOfDeclaration(std::string_view declaration);

// The escapes that switch ISO-2022-JP text into two-byte mode.
bool HasIso2022JpEscape(std::string_view text);
std::string Iso2022JpToShiftJis(std::string_view text);
std::string EucJpToShiftJis(std::string_view text);

// The Windows character set of Shift-JIS text.
constexpr int ShiftJisCharset = 128;

}  // namespace tessival::layout
