#pragma once
// The word around a character of a document, as a double click selects it.
#include <optional>

namespace tessival::layout {
class TSectionList;
}

namespace tessival::viewer {

struct WordSpan {
  int Start = 0;  // index of the first character
  int End = 0;    // index after the last character
};

// A word is a run of digits, ASCII letters and bytes from 192 up (the accented letters of
// the code page) inside one text object; anything else, a hyphen for one, ends it. Nothing
// when the character at `index` is not such a character.
std::optional<WordSpan> WordAt(const layout::TSectionList& document, int index);

}  // namespace tessival::viewer
