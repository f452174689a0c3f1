// Text widths of a section: stretches of text, and the narrowest and widest layouts.
//
// Layout measures with the runs' realised fonts (no drawing state, no justification);
// hit testing measures on the canvas as painting drew, justification included.
#include <algorithm>
#include <array>
#include <string>
#include <utility>

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

}  // namespace

// Widths of words and of stretches between line breaks, gathered in one walk over the
// characters, one font run at a time. Words end at a breaking character, which is not part
// of them; stretches end at line breaks. A stretch or word from the section start carries
// the first-line indent.
class TSection::WidthWalk {
 public:
  explicit WidthWalk(const TSection& section) : section_(section), text_(section.Text_) {}

  // Walks the run's characters from `i` to `runEnd`, which is where it stops.
  void WalkRun(platform::Canvas& canvas, const TFontObj& run, int i, int runEnd);
  // The widest word and the widest stretch, with what is still open closed.
  std::pair<int, int> Finish();

 private:
  int WithIndent(int width, bool fromStart) const;
  void StartWord();
  void EndWord();
  void EndStretch();
  // Sums a stretch of ordinary characters into the word and the stretch: a tight loop, as
  // most of a page's text is such characters. Returns where it stopped.
  int SumPlain(int i, int runEnd);
  // One character that may end a word or a stretch, or any character of double-byte text;
  // returns the last offset it took (a double-byte character takes its trail byte).
  int WalkChar(int i, int runEnd);

  const TSection& section_;
  const std::string& text_;
  int word_ = 0;     // the word being measured
  int stretch_ = 0;  // the stretch being measured
  int widest_word_ = 0;
  int widest_stretch_ = 0;
  bool in_word_ = false;
  bool first_word_ = true;
  bool word_from_start_ = false;
  bool stretch_from_start_ = true;
  // The run being walked.
  const platform::AdvanceTable* advance_ = nullptr;
  const int* known_ = nullptr;
  int overhang_ = 0;
  bool word_touched_ = false;
  bool stretch_touched_ = false;
};

int TSection::WidthWalk::WithIndent(int width, bool fromStart) const {
  if (!fromStart) return width;
  if (section_.TextIndentPercent > 0) return width * 100 / (100 - section_.TextIndentPercent);
  return width + section_.TextIndent;
}

void TSection::WidthWalk::StartWord() {
  if (in_word_) return;
  in_word_ = true;
  word_from_start_ = first_word_;
  first_word_ = false;
}

void TSection::WidthWalk::EndWord() {
  if (in_word_) widest_word_ = std::max(widest_word_, WithIndent(word_, word_from_start_));
  word_ = 0;
  in_word_ = false;
}

void TSection::WidthWalk::EndStretch() {
  widest_stretch_ = std::max(widest_stretch_, WithIndent(stretch_, stretch_from_start_));
  stretch_ = 0;
  stretch_from_start_ = false;
}

void TSection::WidthWalk::WalkRun(platform::Canvas& canvas, const TFontObj& run, int i, int runEnd) {
  advance_ = &run.Realised(canvas).advance;
  known_ = advance_->Known();
  overhang_ = run.Overhang();
  word_touched_ = stretch_touched_ = false;
  for (; i < runEnd; ++i) {
    if (!section_.HasDoubleByte && !IsWidthRangeMark(text_[i])) {
      i = SumPlain(i, runEnd);
      if (i == runEnd) break;
    }
    i = WalkChar(i, runEnd);
  }
  if (word_touched_) word_ += overhang_;
  if (stretch_touched_) stretch_ += overhang_;
}

int TSection::WidthWalk::SumPlain(int i, int runEnd) {
  StartWord();
  const char* const text = text_.data();
  int sum = 0;
  for (; i < runEnd && !IsWidthRangeMark(text[i]); ++i)
    sum += advance_->At(known_, static_cast<unsigned char>(text[i]));
  word_ += sum;
  stretch_ += sum;
  word_touched_ = stretch_touched_ = true;
  return i;
}

int TSection::WidthWalk::WalkChar(int i, int runEnd) {
  const char ch = text_[i];
  const int width = ch == InlineObjectChar && !section_.Objects_.empty()
                        ? section_.ObjectWidthAt(i)
                        : advance_->At(known_, static_cast<unsigned char>(ch));
  if (ch == LineBreakChar) {
    if (stretch_touched_) stretch_ += overhang_;
    EndStretch();
    stretch_touched_ = false;
  } else {
    stretch_ += width;
    stretch_touched_ = true;
  }
  // A double-byte character begins a word of its own.
  const bool breaking = IsWidthRangeMark(ch) && section_.MayBreakAt(i);
  const bool leadByte = section_.HasDoubleByte && section_.IsLeadByte(i);
  if (breaking || (leadByte && in_word_)) {
    if (word_touched_) word_ += overhang_;
    EndWord();
    word_touched_ = false;
    // An object is a word of its own.
    if (ch == InlineObjectChar) widest_word_ = std::max(widest_word_, width);
    if (breaking) return i;
  }
  StartWord();
  word_ += width;
  word_touched_ = true;
  if (leadByte && i + 1 < runEnd) {  // the trail byte belongs to the same character
    const int trail = advance_->At(known_, static_cast<unsigned char>(text_[++i]));
    word_ += trail;
    stretch_ += trail;
  }
  return i;
}

std::pair<int, int> TSection::WidthWalk::Finish() {
  EndWord();
  widest_stretch_ = std::max(widest_stretch_, WithIndent(stretch_, stretch_from_start_));
  return {widest_word_, widest_stretch_};
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
  for (const auto& object : Objects_)
    if (object->TotalWidth == 0) object->Size(canvas, 0, &Fonts_.FontAt(object->Pos));
  WidthWalk walk(*this);
  int i = 0;
  while (i < size && Text_[i] == ' ') ++i;  // words are counted from the first non-space
  for (int index = Fonts_.IndexAt(0); index < Fonts_.Count(); ++index) {
    const int runEnd = index + 1 < Fonts_.Count() ? Fonts_[index + 1].Pos : size;
    if (runEnd <= i) continue;
    walk.WalkRun(canvas, Fonts_[index], i, runEnd);
    i = runEnd;
  }
  const auto [widestWord, widestStretch] = walk.Finish();
  minWidth = MinWidthCache_ = widestWord;
  maxWidth = MaxWidthCache_ = widestStretch;
}

}  // namespace tessival::layout
