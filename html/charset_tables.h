#pragma once
// The character sets a fetched page may come in, the names pages and servers give them,
// and what one byte of a single-byte set stands for.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tessival::html {

enum class PageCharset {
  kWindows1252,  // the engine's own form: nothing to convert
  kIso8859_1,    // read as Windows-1252, whose printable bytes are a superset of it
  kIso8859_15,
  kWindows1250,
  kWindows1251,
  kWindows1253,
  kWindows1254,
  kWindows1255,
  kWindows1256,
  kWindows1257,
  kWindows1258,
  kUtf8,
  kUtf16Le,
  kUtf16Be,
  // A set the engine handles by itself through the fonts a META selects (the East Asian
  // sets, KOI8, the other ISO 8859 parts): the bytes go to it as received.
  kAsDeclared,
};

// The set a name stands for ("UTF-8", "latin1", "cp1251", "Shift_JIS" ...), compared
// without regard to ASCII case or surrounding blanks and quotes; nothing for a name this
// table does not know, which a reader then passes over.
std::optional<PageCharset> PageCharsetOfLabel(std::string_view label);

// The set's usual name, lower case ("utf-8", "windows-1251", "as declared").
std::string_view PageCharsetName(PageCharset charset);

// True for the sets whose bytes each stand for one character through a table.
bool IsTableCharset(PageCharset charset);

// The code point of a byte in a table set; 0 for a byte the set leaves undefined.
std::uint32_t CodePointOfByte(PageCharset charset, unsigned char byte);

// The Windows-1252 byte of a code point, or nothing when that page does not hold it.
std::optional<unsigned char> Windows1252ByteOf(std::uint32_t code_point);

}  // namespace tessival::html
