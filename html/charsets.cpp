#include "html/charsets.h"

#include <array>
#include <utility>

namespace tessival::html {

std::optional<int> CodePageOfCharset(int charset) {
  static constexpr std::array<std::pair<int, int>, 19> table = {{
      {0, 1252},   {1, 0},      {2, 0},      {77, 2},     {128, 932},  {129, 949},  {130, 1361},
      {134, 936},  {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
      {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 1},
  }};
  for (const auto& [set, codePage] : table) {
    if (set == charset) return codePage;
  }
  return std::nullopt;
}

LeadByteSet LeadBytesOfCharset(int charset) {
  int first = 0;
  int last = -1;
  switch (charset) {
    case 128:
      first = 0x81;
      last = 0x9F;
      break;  // Shift-JIS
    case 129:
    case 134:
      first = 0xA1;
      last = 0xFE;
      break;  // Hangul, GB2312
    case 130:
    case 136:
      first = 0x81;
      last = 0xFE;
      break;  // Johab, Big5
    default: break;
  }
  LeadByteSet set;
  for (int b = first; b <= last; ++b) set.set(static_cast<std::size_t>(b));
  return set;
}

}  // namespace tessival::html
