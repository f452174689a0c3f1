// Text widths of a section: stretches of text, and the narrowest and widest layouts.
//
// Layout measures with the runs' realised fonts (no drawing state, no justification);
// hit testing measures on the canvas as painting drew, justification included.
#include <algorithm>
#include <array>

#include "layout/text_section.h"

namespace tessival::layout {

namespace {

// Sums the width of [start, start + count) one font run at a time: `measure(run, chunk)`
// gives a chunk's width, and every run adds its overhang.
template <class Measure>
int SumOverRuns(const TFontList& fonts, std::string_view text, int start, int count, Measure measure) {
  int width = 0;
  const int end = start + count;
  for (int index = fonts.IndexAt(start), pos = start; pos < end; ++index) {
    const TFontObj& run = fonts[index];
    const int chunkEnd = index + 1 < fonts.Count() ? std::min(fonts[index + 1].Pos, end) : end;
    if (chunkEnd <= pos) continue;
    const auto chunk = text.substr(static_cast<std::size_t>(pos),
                                   static_cast<std::size_t>(chunkEnd - pos));
    width += measure(run, chunk) + run.Overhang();
    pos = chunkEnd;
  }
  return width;
}

}  // namespace

// A chunk's width with its inline objects counted as the room they take (floats none)
// instead of as characters.
template <class Measure>
int WithObjects(const TSection& section, std::string_view text, std::string_view chunk,
                Measure measure) {
  if (section.Objects().empty() || chunk.find(InlineObjectChar) == std::string_view::npos)
    return measure(chunk);
  int width = 0;
  const int base = static_cast<int>(chunk.data() - text.data());
  std::size_t from = 0;
  for (std::size_t at; (at = chunk.find(InlineObjectChar, from)) != std::string_view::npos;
       from = at + 1) {
    if (at > from) width += measure(chunk.substr(from, at - from));
    const TFloatingObj* object = section.ObjectAt(base + static_cast<int>(at));
    if (object && !object->Floats()) width += object->OuterWidth();
  }
  if (from < chunk.size()) width += measure(chunk.substr(from));
  return width;
}

int TSection::MeasuredWidth(platform::Canvas& canvas, int start, int count) const {
  return SumOverRuns(Fonts_, Text_, start, count, [&](const TFontObj& run, std::string_view chunk) {
    return WithObjects(*this, Text_, chunk, [&](std::string_view piece) {
      return platform::TextWidthOf(run.Realised(canvas), piece);
    });
  });
}

int TSection::PaintedWidth(platform::Canvas& canvas, int start, int count) const {
  return SumOverRuns(Fonts_, Text_, start, count, [&](const TFontObj& run, std::string_view chunk) {
    run.Select(canvas);
    return WithObjects(*this, Text_, chunk,
                       [&](std::string_view piece) { return canvas.GetTextExtentPoint32(piece).cx; });
  });
}

int TSection::TextWidth(platform::Canvas& canvas, int start, int count, bool skipTrailing) const {
  start = std::clamp(start, 0, static_cast<int>(Text_.size()));
  count = std::clamp(count, 0, static_cast<int>(Text_.size()) - start);
  if (skipTrailing) {
    while (count > 0) {
      const int last = start + count - 1;
      const char ch = Text_[last];
      if (ch == ' ' || (ch == LineBreakChar && MayBreakAt(last))) --count;
      else break;
    }
  }
  return MeasuredWidth(canvas, start, count);
}

namespace {

// The characters that may end a word or a stretch (objects and line breaks among them);
// every other character only adds its advance.
constexpr std::array<bool, 256> kWidthRangeMarks = [] {
  std::array<bool, 256> marks{};
  for (const char ch : {'\0', InlineObjectChar, LineBreakChar, ' ', '-', '?'})
    marks[static_cast<unsigned char>(ch)] = true;
  return marks;
}();

bool IsWidthRangeMark(char ch) { return kWidthRangeMarks[static_cast<unsigned char>(ch)]; }

// Widths of words and of stretches between line breaks, gathered in one walk over the
// characters.
struct WidthWalk {
  int word = 0;     // the word being measured
  int stretch = 0;  // the stretch being measured
  int widestWord = 0;
  int widestStretch = 0;
  bool inWord = false;
  bool wordFromStart = false;
  bool stretchFromStart = true;
};

}  // namespace

void TSection::GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) {
  if (MinWidthCache_ >= 0) {
    minWidth = MinWidthCache_;
    maxWidth = MaxWidthCache_;
    return;
  }
  const int size = static_cast<int>(Text_.size());
  minWidth = maxWidth = 0;
  if (size == 0) return;
  for (const auto& object : Objects_)
    if (object->TotalWidth == 0) object->Size(canvas, 0, &Fonts_.FontAt(object->Pos));
  // A stretch from the section start carries the first-line indent.
  const auto withIndent = [this](int width, bool fromStart) {
    if (!fromStart) return width;
    if (TextIndentPercent > 0) return width * 100 / (100 - TextIndentPercent);
    return width + TextIndent;
  };
  WidthWalk walk;
  const auto endWord = [&] {
    if (walk.inWord)
      walk.widestWord = std::max(walk.widestWord, withIndent(walk.word, walk.wordFromStart));
    walk.word = 0;
    walk.inWord = false;
  };
  int i = 0;
  while (i < size && Text_[i] == ' ') ++i;  // words are counted from the first non-space
  bool firstWord = true;
  for (int index = Fonts_.IndexAt(0); index < Fonts_.Count(); ++index) {
    const TFontObj& run = Fonts_[index];
    const int runEnd = index + 1 < Fonts_.Count() ? Fonts_[index + 1].Pos : size;
    if (runEnd <= i) continue;
    const auto& advance = run.Realised(canvas).advance;
    const int* known = advance.Known();
    const int overhang = run.Overhang();
    bool wordTouched = false, stretchTouched = false;
    for (; i < runEnd; ++i) {
      if (!HasDoubleByte && !IsWidthRangeMark(Text_[i])) {
        // A stretch of ordinary characters only lengthens the word and the stretch: summed
        // in a tight loop, as most of a page's text is.
        if (!walk.inWord) {
          walk.inWord = true;
          walk.wordFromStart = firstWord;
          firstWord = false;
        }
        const char* const text = Text_.data();
        int sum = 0;
        for (; i < runEnd && !IsWidthRangeMark(text[i]); ++i)
          sum += advance.At(known, static_cast<unsigned char>(text[i]));
        walk.word += sum;
        walk.stretch += sum;
        wordTouched = stretchTouched = true;
        if (i == runEnd) break;
      }
      const char ch = Text_[i];
      const int width = ch == InlineObjectChar && !Objects_.empty()
                            ? ObjectWidthAt(i)
                            : advance.At(known, static_cast<unsigned char>(ch));
      // Stretches end at line breaks.
      if (ch == LineBreakChar) {
        if (stretchTouched) walk.stretch += overhang;
        walk.widestStretch = std::max(walk.widestStretch,
                                      withIndent(walk.stretch, walk.stretchFromStart));
        walk.stretch = 0;
        walk.stretchFromStart = false;
        stretchTouched = false;
      } else {
        walk.stretch += width;
        stretchTouched = true;
      }
      // Words end at a breaking character (marked so), which is not part of them; a
      // double-byte character begins a word of its own.
      const bool breaking = IsWidthRangeMark(ch) && MayBreakAt(i);
      const bool leadByte = HasDoubleByte && IsLeadByte(i);
      if (breaking || (leadByte && walk.inWord)) {
        if (wordTouched) walk.word += overhang;
        endWord();
        wordTouched = false;
        // An object is a word of its own.
        if (ch == InlineObjectChar) walk.widestWord = std::max(walk.widestWord, width);
        if (breaking) continue;
      }
      if (!walk.inWord) {
        walk.inWord = true;
        walk.wordFromStart = firstWord;
        firstWord = false;
      }
      walk.word += width;
      wordTouched = true;
      if (leadByte && i + 1 < runEnd) {  // the trail byte belongs to the same character
        const int trail = advance.At(known, static_cast<unsigned char>(Text_[++i]));
        walk.word += trail;
        walk.stretch += trail;
      }
    }
    if (wordTouched) walk.word += overhang;
    if (stretchTouched) walk.stretch += overhang;
  }
  endWord();
  walk.widestStretch = std::max(walk.widestStretch, withIndent(walk.stretch, walk.stretchFromStart));
  minWidth = MinWidthCache_ = walk.widestWord;
  maxWidth = MaxWidthCache_ = walk.widestStretch;
}

}  // namespace tessival::layout
