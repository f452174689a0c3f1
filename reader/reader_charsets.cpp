#include "reader/reader_charsets.h"

#include <array>
#include <cstdint>

#include "html/text_util.h"

namespace tessival::layout {

namespace {

constexpr int EucJpRow = -1;

struct CharsetRow {
  std::string_view Key;
  int Charset;
};

// Searched in this order for a key anywhere in the declaration, so "8859-15" is found as
// "8859-1" first; both mean the Western set.
constexpr std::array<CharsetRow, 46> CharsetRows = {{
    {"1252", 0},          {"8859-1", 0},    {"1253", 161},       {"8859-7", 161},
    {"1250", 238},        {"8859-2", 238},  {"1251", 204},       {"8859-5", 204},
    {"koi", 204},         {"866", 204},     {"1254", 162},       {"8859-3", 162},
    {"8859-9", 162},      {"1257", 186},    {"8859-4", 186},     {"932", 128},
    {"949", 129},         {"936", 134},     {"950", 136},        {"1255", 177},
    {"1256", 178},        {"1258", 163},    {"874", 222},        {"ansi", 0},
    {"default", 1},       {"symbol", 2},    {"shiftjis", 128},   {"shift_jis", 128},
    {"x-sjis", 128},      {"hangeul", 129}, {"gb2312", 134},     {"big5", 136},
    {"oem", 255},         {"johab", 130},   {"hebrew", 177},     {"arabic", 178},
    {"greek", 161},       {"turkish", 162}, {"vietnamese", 163}, {"thai", 222},
    {"easteurope", 238},  {"russian", 204}, {"euc-kr", 129},     {"5601", 129},
    {"euc-jp", EucJpRow}, {"8859-15", 0},
}};

// One JIS X 0208 pair (7-bit row and cell bytes) as its two Shift-JIS bytes.
void AppendShiftJisPair(std::string& out, std::uint8_t first, std::uint8_t second) {
  const int a = first;
  const int b = second;
  const int lead = a >= 33 && a <= 96 ? ((a + 1) >> 1) + 112 : ((a + 1) >> 1) + 176;
  int trail;
  if (a % 2 == 0) trail = b + 126;
  else trail = b < 96 ? b + 31 : b + 32;
  out.push_back(static_cast<char>(lead & 0xFF));
  out.push_back(static_cast<char>(trail & 0xFF));
}

}  // namespace

std::optional<TCharsetMatch> CharsetOfDeclaration(std::string_view declaration) {
  const std::string lower = html::ToLower(declaration);
  for (const CharsetRow& row : CharsetRows) {
    if (lower.find(row.Key) == std::string::npos) continue;
    if (row.Charset == EucJpRow) return TCharsetMatch{ShiftJisCharset, true};
    return TCharsetMatch{row.Charset, false};
  }
  return std::nullopt;
}

bool HasIso2022JpEscape(std::string_view text) {
  return text.find("\x1b$@") != std::string_view::npos || text.find("\x1b$B") != std::string_view::npos;
}

std::string Iso2022JpToShiftJis(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool doubleByte = false;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("\x1b(B") || rest.starts_with("\x1b(J")) {
      doubleByte = false;
      i += 3;
      continue;
    }
    if (rest.starts_with("\x1b$@") || rest.starts_with("\x1b$B")) {
      doubleByte = true;
      i += 3;
      continue;
    }
    const auto a = static_cast<std::uint8_t>(text[i] & 0x7F);
    if (!doubleByte) {
      out.push_back(static_cast<char>(a));
      ++i;
      continue;
    }
    // A pair cut off by the end of the text keeps its first byte as it is.
    if (i + 1 >= text.size()) {
      out.push_back(static_cast<char>(a));
      break;
    }
    AppendShiftJisPair(out, a, static_cast<std::uint8_t>(text[i + 1] & 0x7F));
    i += 2;
  }
  return out;
}

std::string EucJpToShiftJis(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::optional<std::uint8_t> first;
  for (const char c : text) {
    const auto byte = static_cast<std::uint8_t>(c);
    if (byte <= 160) {
      if (first) out.push_back(static_cast<char>(*first));  // a lone first byte stays
      first.reset();
      out.push_back(c);
      continue;
    }
    const auto seven = static_cast<std::uint8_t>(byte & 0x7F);
    if (!first) {
      first = seven;
      continue;
    }
    AppendShiftJisPair(out, *first, seven);
    first.reset();
  }
  if (first) out.push_back(static_cast<char>(*first));
  return out;
}

}  // namespace tessival::layout
