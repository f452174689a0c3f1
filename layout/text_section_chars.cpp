// Character boundaries in double-byte text. A trail byte can look like a lead byte, so a
// boundary is only known by walking forward from one: a line start is one, because line
// breaking never splits a character.
#include <algorithm>

#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {

int TSection::CharLengthAt(int offset) const {
  return IsLeadByte(offset) && offset + 1 < static_cast<int>(Text_.size()) ? 2 : 1;
}

int TSection::CharStartOf(int offset) const {
  if (!HasDoubleByte || offset <= 0 || offset >= static_cast<int>(Text_.size())) return offset;
  const auto line = std::upper_bound(Lines_.begin(), Lines_.end(), offset,
                                     [](int at, const LineRec& rec) { return at < rec.Start; });
  int start = line == Lines_.begin() ? 0 : std::prev(line)->Start;
  while (start + CharLengthAt(start) <= offset) start += CharLengthAt(start);
  return start;
}

void TSection::SelectionOffsets(int& start, int& end) const {
  start = Document->SelStart - StartPos;
  end = Document->SelEnd - StartPos;
  if (!HasDoubleByte) return;
  // A boundary on a second byte takes in the whole character at either end; an empty
  // selection (the caret) goes to the character's start.
  const bool empty = start == end;
  start = CharStartOf(start);
  if (empty) {
    end = start;
    return;
  }
  if (const int endStart = CharStartOf(end); endStart < end) end = endStart + CharLengthAt(endStart);
}

}  // namespace tessival::layout
