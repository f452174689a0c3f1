#pragma once
// WIDTH and HEIGHT values of tables and cells: pixels, or per mille of the width around
// for a percentage. Numbers are read with saturation, so "2147483648" is a large width and
// not a negative one.
#include <string_view>

#include "html/attribute_list.h"

namespace tessival::layout {

struct TTableLength {
  int Value = 0;  // pixels, or per mille with Percent; 0 when none was given
  bool Percent = false;
};

// A percentage counts only from 1 to maxPercent; pixels are held within the table limit.
TTableLength ReadTableLength(std::string_view text, int maxPercent);
TTableLength ReadTableLength(const html::TAttribute* attribute, int maxPercent);

}  // namespace tessival::layout
