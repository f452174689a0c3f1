#include "viewer/word_at.h"

#include "layout/section_list.h"

namespace tessival::viewer {

namespace {

bool IsWordChar(char ch) {
  const auto byte = static_cast<unsigned char>(ch);
  return (byte >= '0' && byte <= '9') || (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
         byte >= 192;
}

// A word character of the same text object as the word's first one.
bool ContinuesWord(const layout::TSectionList& document, int index, const layout::TSectionBase* object) {
  char ch = 0;
  const layout::TSectionBase* section = nullptr;
  return document.CharAt(index, ch, section) && section == object && IsWordChar(ch);
}

}  // namespace

std::optional<WordSpan> WordAt(const layout::TSectionList& document, int index) {
  char ch = 0;
  const layout::TSectionBase* object = nullptr;
  if (index < 0 || !document.CharAt(index, ch, object) || !IsWordChar(ch)) return std::nullopt;
  WordSpan span{index, index + 1};
  while (span.Start > 0 && ContinuesWord(document, span.Start - 1, object)) --span.Start;
  while (ContinuesWord(document, span.End, object)) ++span.End;
  return span;
}

}  // namespace tessival::viewer
