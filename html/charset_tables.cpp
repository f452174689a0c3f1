#include "html/charset_tables.h"

#include <array>
#include <string>
#include <utility>

#include "html/code_page.h"
#include "html/text_util.h"

namespace tessival::html {
namespace {

struct Label {
  std::string_view name;
  PageCharset charset;
};

// clang-format off
constexpr Label kLabels[] = {
  {"windows-1252", PageCharset::kWindows1252}, {"cp1252", PageCharset::kWindows1252},
  {"x-cp1252", PageCharset::kWindows1252},     {"us-ascii", PageCharset::kWindows1252},
  {"ascii", PageCharset::kWindows1252},        {"ansi_x3.4-1968", PageCharset::kWindows1252},
  {"iso-8859-1", PageCharset::kIso8859_1},     {"iso8859-1", PageCharset::kIso8859_1},
  {"iso_8859-1", PageCharset::kIso8859_1},     {"iso_8859-1:1987", PageCharset::kIso8859_1},
  {"iso88591", PageCharset::kIso8859_1},       {"latin1", PageCharset::kIso8859_1},
  {"l1", PageCharset::kIso8859_1},             {"csisolatin1", PageCharset::kIso8859_1},
  {"iso-ir-100", PageCharset::kIso8859_1},     {"cp819", PageCharset::kIso8859_1},
  {"iso-8859-15", PageCharset::kIso8859_15},   {"iso8859-15", PageCharset::kIso8859_15},
  {"iso_8859-15", PageCharset::kIso8859_15},   {"iso885915", PageCharset::kIso8859_15},
  {"latin9", PageCharset::kIso8859_15},        {"latin-9", PageCharset::kIso8859_15},
  {"l9", PageCharset::kIso8859_15},            {"csisolatin9", PageCharset::kIso8859_15},
  {"windows-1250", PageCharset::kWindows1250}, {"cp1250", PageCharset::kWindows1250},
  {"x-cp1250", PageCharset::kWindows1250},
  {"windows-1251", PageCharset::kWindows1251}, {"cp1251", PageCharset::kWindows1251},
  {"x-cp1251", PageCharset::kWindows1251},
  {"windows-1253", PageCharset::kWindows1253}, {"cp1253", PageCharset::kWindows1253},
  {"x-cp1253", PageCharset::kWindows1253},
  {"windows-1254", PageCharset::kWindows1254}, {"cp1254", PageCharset::kWindows1254},
  {"x-cp1254", PageCharset::kWindows1254},
  {"windows-1255", PageCharset::kWindows1255}, {"cp1255", PageCharset::kWindows1255},
  {"x-cp1255", PageCharset::kWindows1255},
  {"windows-1256", PageCharset::kWindows1256}, {"cp1256", PageCharset::kWindows1256},
  {"x-cp1256", PageCharset::kWindows1256},
  {"windows-1257", PageCharset::kWindows1257}, {"cp1257", PageCharset::kWindows1257},
  {"x-cp1257", PageCharset::kWindows1257},
  {"windows-1258", PageCharset::kWindows1258}, {"cp1258", PageCharset::kWindows1258},
  {"x-cp1258", PageCharset::kWindows1258},
  {"utf-8", PageCharset::kUtf8},               {"utf8", PageCharset::kUtf8},
  {"unicode-1-1-utf-8", PageCharset::kUtf8},   {"x-unicode20utf8", PageCharset::kUtf8},
  {"utf-16", PageCharset::kUtf16Le},           {"utf-16le", PageCharset::kUtf16Le},
  {"unicode", PageCharset::kUtf16Le},          {"ucs-2", PageCharset::kUtf16Le},
  {"utf-16be", PageCharset::kUtf16Be},         {"unicodefffe", PageCharset::kUtf16Be},
  {"shift_jis", PageCharset::kAsDeclared},     {"shift-jis", PageCharset::kAsDeclared},
  {"sjis", PageCharset::kAsDeclared},          {"x-sjis", PageCharset::kAsDeclared},
  {"ms_kanji", PageCharset::kAsDeclared},      {"windows-31j", PageCharset::kAsDeclared},
  {"euc-jp", PageCharset::kAsDeclared},        {"iso-2022-jp", PageCharset::kAsDeclared},
  {"euc-kr", PageCharset::kAsDeclared},        {"ks_c_5601-1987", PageCharset::kAsDeclared},
  {"gb2312", PageCharset::kAsDeclared},        {"gbk", PageCharset::kAsDeclared},
  {"gb18030", PageCharset::kAsDeclared},       {"big5", PageCharset::kAsDeclared},
  {"koi8-r", PageCharset::kAsDeclared},        {"koi8-u", PageCharset::kAsDeclared},
  {"ibm866", PageCharset::kAsDeclared},        {"cp866", PageCharset::kAsDeclared},
  {"windows-874", PageCharset::kAsDeclared},   {"tis-620", PageCharset::kAsDeclared},
  {"macintosh", PageCharset::kAsDeclared},
};
// clang-format on

// The other parts of ISO 8859 are fonts' business, as the East Asian sets are.
bool IsOtherIso8859Part(std::string_view name) {
  for (const std::string_view prefix : {"iso-8859-", "iso8859-", "iso_8859-"}) {
    if (name.size() > prefix.size() && name.substr(0, prefix.size()) == prefix) return true;
  }
  return false;
}

std::string_view StripQuotesAndBlanks(std::string_view label) {
  label = Trim(label);
  while (!label.empty() && (label.front() == '"' || label.front() == '\'')) label.remove_prefix(1);
  while (!label.empty() && (label.back() == '"' || label.back() == '\'')) label.remove_suffix(1);
  return Trim(label);
}

// The characters ISO 8859-15 puts where ISO 8859-1 has its own: all of them are in
// Windows-1252, so the table gives that page's bytes.
// clang-format off
constexpr std::array<std::pair<unsigned char, std::uint32_t>, 8> kLatin9Changes = {{
    {0xA4, 0x20AC}, {0xA6, 0x0160}, {0xA8, 0x0161}, {0xB4, 0x017D},
    {0xB8, 0x017E}, {0xBC, 0x0152}, {0xBD, 0x0153}, {0xBE, 0x0178},
}};
// clang-format on

int CodePageOf(PageCharset charset) {
  switch (charset) {
    case PageCharset::kWindows1250: return 1250;
    case PageCharset::kWindows1251: return 1251;
    case PageCharset::kWindows1253: return 1253;
    case PageCharset::kWindows1254: return 1254;
    case PageCharset::kWindows1255: return 1255;
    case PageCharset::kWindows1256: return 1256;
    case PageCharset::kWindows1257: return 1257;
    case PageCharset::kWindows1258: return 1258;
    default: return 1252;
  }
}

// Code points of the bytes 0x80 to 0x9F of Windows-1252 (the rest of its upper half is
// the Latin-1 block, byte for code point).
std::array<std::uint32_t, 32> Windows1252Specials() {
  std::array<std::uint32_t, 32> specials{};
  for (std::size_t i = 0; i < specials.size(); ++i) {
    specials[i] = CodePageToUnicode(static_cast<unsigned char>(0x80 + i), 1252);
  }
  return specials;
}

}  // namespace

std::optional<PageCharset> PageCharsetOfLabel(std::string_view label) {
  const std::string name = ToLower(StripQuotesAndBlanks(label));
  for (const Label& entry : kLabels) {
    if (entry.name == name) return entry.charset;
  }
  if (IsOtherIso8859Part(name)) return PageCharset::kAsDeclared;
  return std::nullopt;
}

std::string_view PageCharsetName(PageCharset charset) {
  switch (charset) {
    case PageCharset::kWindows1252: return "windows-1252";
    case PageCharset::kIso8859_1: return "iso-8859-1";
    case PageCharset::kIso8859_15: return "iso-8859-15";
    case PageCharset::kWindows1250: return "windows-1250";
    case PageCharset::kWindows1251: return "windows-1251";
    case PageCharset::kWindows1253: return "windows-1253";
    case PageCharset::kWindows1254: return "windows-1254";
    case PageCharset::kWindows1255: return "windows-1255";
    case PageCharset::kWindows1256: return "windows-1256";
    case PageCharset::kWindows1257: return "windows-1257";
    case PageCharset::kWindows1258: return "windows-1258";
    case PageCharset::kUtf8: return "utf-8";
    case PageCharset::kUtf16Le: return "utf-16le";
    case PageCharset::kUtf16Be: return "utf-16be";
    case PageCharset::kAsDeclared: return "as declared";
  }
  return "as declared";
}

bool IsTableCharset(PageCharset charset) {
  switch (charset) {
    case PageCharset::kUtf8:
    case PageCharset::kUtf16Le:
    case PageCharset::kUtf16Be:
    case PageCharset::kAsDeclared: return false;
    default: return true;
  }
}

std::uint32_t CodePointOfByte(PageCharset charset, unsigned char byte) {
  if (charset == PageCharset::kIso8859_15) {
    for (const auto& [changed, code_point] : kLatin9Changes) {
      if (changed == byte) return code_point;
    }
    return CodePageToUnicode(byte, 1252);
  }
  return CodePageToUnicode(byte, CodePageOf(charset));
}

std::optional<unsigned char> Windows1252ByteOf(std::uint32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<unsigned char>(code_point);
  }
  static const std::array<std::uint32_t, 32> specials = Windows1252Specials();
  for (std::size_t i = 0; i < specials.size(); ++i) {
    if (specials[i] != 0 && specials[i] == code_point) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

}  // namespace tessival::html
