// Text widths of a section: stretches of text, and the narrowest and widest layouts.
#include <algorithm>

#include "layout/text_section.h"

namespace tessival::layout {

int TSection::StretchWidth(platform::Canvas& canvas, int start, int count) const {
  int width = 0;
  const int end = start + count;
  for (int pos = start; pos < end;) {
    const int chunkEnd = pos + Fonts_.CharsToNextRun(pos, end);
    const TFontObj& run = Fonts_.FontAt(pos);
    run.Select(canvas);
    width += canvas.GetTextExtentPoint32(
                 std::string_view(Text_.data() + pos, static_cast<std::size_t>(chunkEnd - pos)))
                 .cx +
             run.Overhang();
    pos = chunkEnd;
  }
  return width;
}

int TSection::TextWidth(platform::Canvas& canvas, int start, int count, bool skipTrailing) const {
  start = std::clamp(start, 0, static_cast<int>(Text_.size()));
  count = std::clamp(count, 0, static_cast<int>(Text_.size()) - start);
  if (skipTrailing) {
    while (count > 0) {
      const int last = start + count - 1;
      const char ch = Text_[last];
      if (ch == ' ' || (ch == LineBreakChar && Breaks_[last] == BreakAllowed)) --count;
      else break;
    }
  }
  return StretchWidth(canvas, start, count);
}

void TSection::GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) {
  if (MinWidthCache_ >= 0) {
    minWidth = MinWidthCache_;
    maxWidth = MaxWidthCache_;
    return;
  }
  const int size = static_cast<int>(Text_.size());
  minWidth = maxWidth = 0;
  if (size == 0) return;
  EnsureRunMetrics(canvas);
  // A stretch from the section start carries the first-line indent.
  const auto withIndent = [this](int width, int start) {
    if (start != 0) return width;
    if (TextIndentPercent > 0) return width * 100 / (100 - TextIndentPercent);
    return width + TextIndent;
  };
  // Widest stretch between forced breaks.
  for (int start = 0; start < size;) {
    int end = start;
    while (end < size && Text_[end] != LineBreakChar) ++end;
    maxWidth = std::max(maxWidth, withIndent(StretchWidth(canvas, start, end - start), start));
    start = end + 1;
  }
  // Widest word.
  const auto endsWord = [this](int i) {
    const char ch = Text_[i];
    if (Breaks_[i] != BreakAllowed) return false;
    return ch == '\0' || ch == InlineObjectChar || ch == LineBreakChar || ch == ' ' ||
           ch == '-' || ch == '?';
  };
  const auto between = [this](int i) {
    const char ch = Text_[i];
    return ch == InlineObjectChar || ch == LineBreakChar || ch == ' ' || ch == '-' || ch == '?';
  };
  int i = 0;
  while (i < size && Text_[i] == ' ') ++i;
  while (i < size) {
    const int wordStart = i;
    if (HasDoubleByte) {
      i += IsLeadByte(i) && i + 1 < size ? 2 : 1;
      while (i < size && !endsWord(i) && !IsLeadByte(i)) ++i;
    } else {
      while (i < size && !endsWord(i)) ++i;
    }
    if (i > wordStart)
      minWidth = std::max(minWidth, withIndent(StretchWidth(canvas, wordStart, i - wordStart), wordStart));
    if (i == wordStart) ++i;  // a breaking character of its own (a zero byte)
    while (i < size && between(i)) ++i;
  }
  MinWidthCache_ = minWidth;
  MaxWidthCache_ = maxWidth;
}

}  // namespace tessival::layout
