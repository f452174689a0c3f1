#pragma once
// Conversion of one Unicode code point to the bytes of a Windows code page, as numeric and
// named character references need it for the character set of the element they stand in.
#include <cstdint>
#include <string>

namespace tessival::html {

// Code page numbers with a meaning of their own: the system's ANSI page (Windows-1252 on
// the German desktop this browser serves), the OEM page (850 there) and the Mac page.
constexpr int SystemCodePage = 0;
constexpr int OemCodePage = 1;
constexpr int MacCodePage = 2;

// The bytes of `codePoint` in `codePage`: one byte for the single-byte pages (874, 1250 to
// 1258, 850, 10000 and the three above), "?" for a character the page lacks, for a code
// point beyond the 16-bit range, and for the East Asian double-byte pages, whose tables
// this build does not carry.
std::string UnicodeToCodePage(std::uint32_t codePoint, int codePage);

// The code point of one byte of a single-byte page (the same pages as above); 0 for a byte
// the page leaves undefined and for a page without a table.
std::uint32_t CodePageToUnicode(unsigned char byte, int codePage);

}  // namespace tessival::html
