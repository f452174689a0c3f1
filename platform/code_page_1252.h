#pragma once
// Windows-1252, the engine's single-byte text encoding, and its mapping to Unicode. Used at
// the edges only: the Qt boundary and numeric character references.
#include <cstdint>
#include <optional>
#include <string>

namespace tessival::platform {

// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, so a
// round trip never loses a byte.
char32_t Cp1252ToUnicode(std::uint8_t byte);

// The Windows-1252 byte of a code point, or nothing when the code page has none.
std::optional<std::uint8_t> UnicodeToCp1252(char32_t code_point);

// UTF-8 text to Windows-1252 bytes; characters without a byte become '?'.
std::string Utf8ToCp1252(const std::string& utf8);
std::string Cp1252ToUtf8(const std::string& bytes);

}  // namespace tessival::platform
