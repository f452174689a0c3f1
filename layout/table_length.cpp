#include "layout/table_length.h"

#include <cstdint>

#include "layout/table_widths.h"

namespace tessival::layout {

TTableLength ReadTableLength(std::string_view text, int maxPercent) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  std::int64_t number = 0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    digits = true;
    if (number <= kMaxTableLength) number = number * 10 + (text[i] - '0');
  }
  if (!digits) return {};
  while (i < text.size() && (text[i] == '.' || (text[i] >= '0' && text[i] <= '9'))) ++i;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text[i] == '%') {
    if (number < 1 || number > maxPercent) return {};
    return {static_cast<int>(number) * 10, true};
  }
  if (number <= 0) return {};
  return {static_cast<int>(number > kMaxTableLength ? kMaxTableLength : number), false};
}

TTableLength ReadTableLength(const html::TAttribute* attribute, int maxPercent) {
  return attribute ? ReadTableLength(attribute->StrValue, maxPercent) : TTableLength{};
}

}  // namespace tessival::layout
