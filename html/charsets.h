#pragma once
// Windows font character sets: their code pages and the bytes that open a two-byte
// character in the East Asian sets.
#include <bitset>
#include <optional>

namespace tessival::html {

using LeadByteSet = std::bitset<256>;

constexpr int DefaultCharset = 1;  // the "default" set; also what symbol fonts get
// The code page of a character set; 0 stands for the system's own code page. Nothing for a
// set the table does not know.
std::optional<int> CodePageOfCharset(int charset);
LeadByteSet LeadBytesOfCharset(int charset);

}  // namespace tessival::html
