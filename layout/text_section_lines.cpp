// Line breaking and alignment of a text section.
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "layout/indent_manager.h"
#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {
namespace {

bool IsObjectChar(char ch) { return ch == FormControlChar || ch == InlineObjectChar; }

}  // namespace

// What stays the same for every line of one layout.
struct TSection::LineContext {
  int widestChar = 0;     // the widest character of any run: the fast path's bound
  int nextLineBreak = 0;  // the next code 8 at or after the line start (size when none)
};

void TSection::EnsureRunMetrics(platform::Canvas& canvas) const {
  for (const auto& run : Fonts_.Runs()) run->EnsureMetrics(canvas);
}

int TSection::ClearingHeight(const IndentManager& indents, int y) const {
  const ClearBottoms bottoms = indents.ClearY();
  const int left = std::max(0, bottoms.Left - y - 1);
  const int right = std::max(0, bottoms.Right - y - 1);
  switch (Clear) {
    case clLeft: return left;
    case clRight: return right;
    case clBoth: return std::max(left, right);
    default: return 0;
  }
}

int TSection::FitCount(platform::Canvas& canvas, const LineContext& context, int start, int y,
                       bool firstLine, IndentManager& indents) const {
  const int size = static_cast<int>(Text_.size());
  if (Text_[start] == LineBreakChar) return 1;  // a break at the start fits alone
  const int end = std::min(context.nextLineBreak, size);
  int left = indents.LeftIndentAt(y);
  if (firstLine) left += FirstIndentPixels_;
  int free = indents.RightIndentAt(y) - left;
  const int count = end - start;
  // Most short paragraphs fit whole: no need to measure them.
  if (firstLine && Objects_.empty() && static_cast<long long>(count) * context.widestChar <= free) {
    return end < size ? count + 1 : count;
  }
  int fitted = 0;
  for (int index = Fonts_.IndexAt(start), pos = start; pos < end; ++index) {
    const TFontObj& run = Fonts_[index];
    int chunkEnd = index + 1 < Fonts_.Count() ? std::min(Fonts_[index + 1].Pos, end) : end;
    if (chunkEnd <= pos) continue;
    if (!Objects_.empty()) {
      // An object is a chunk of its own; the run goes on after it.
      if (Text_[pos] == InlineObjectChar) {
        const int objectWidth = ObjectWidthAt(pos);
        if (objectWidth > free) return fitted;
        free -= objectWidth;
        ++fitted;
        ++pos;
        --index;
        continue;
      }
      const void* object = std::memchr(Text_.data() + pos, InlineObjectChar,
                                       static_cast<std::size_t>(chunkEnd - pos));
      if (object) chunkEnd = static_cast<int>(static_cast<const char*>(object) - Text_.data());
      if (chunkEnd < (index + 1 < Fonts_.Count() ? std::min(Fonts_[index + 1].Pos, end) : end)) --index;
    }
    int width = 0;
    const int fit = platform::FitCountOf(run.Realised(canvas),
                                         std::string_view(Text_).substr(static_cast<std::size_t>(pos),
                                                                        static_cast<std::size_t>(
                                                                            chunkEnd - pos)),
                                         free, width);
    fitted += fit;
    if (fit < chunkEnd - pos) return fitted;
    free -= width + run.Overhang();
    pos = chunkEnd;
  }
  // All of it fit: the line break that ended it belongs to the line.
  return end < size ? fitted + 1 : fitted;
}

int TSection::TakeFollowingSpaces(int end, bool withLineBreak) const {
  const int size = static_cast<int>(Text_.size());
  while (end < size && Text_[end] == ' ') ++end;
  if (withLineBreak && end < size && Text_[end] == LineBreakChar) ++end;
  return end;
}

TSection::LineBreak TSection::LineEnd(int start, int fit) const {
  const int size = static_cast<int>(Text_.size());
  const int last = start + fit - 1;
  const int next = start + fit;
  const auto mayBreak = [this](int i) { return MayBreakAt(i); };
  const auto breakableSpace = [&](int i) { return Text_[i] == ' ' && mayBreak(i); };
  const char lastChar = Text_[last];
  if (breakableSpace(last) || (IsObjectChar(lastChar) && mayBreak(last)) || lastChar == LineBreakChar)
    return {TakeFollowingSpaces(last + 1, false)};
  if (breakableSpace(next)) return {TakeFollowingSpaces(next, false)};
  if (IsObjectChar(Text_[next]) && mayBreak(last)) return {next};
  for (int i = last; i >= start; --i) {
    const char ch = Text_[i];
    const bool opportunity = mayBreak(i) && (ch == ' ' || IsObjectChar(ch) || ch == '-' || ch == '?');
    if (!opportunity) continue;
    if (i == start && !IsObjectChar(ch)) break;  // only the first character: a long word
    return {TakeFollowingSpaces(i + 1, false)};
  }
  // A word longer than the line: it ends after a breakable hyphen or question mark, or
  // before a space, object, control or line break.
  for (int i = std::max(last, start + 1); i < size; ++i) {
    if (!mayBreak(i)) continue;
    const char ch = Text_[i];
    if (ch == '-' || ch == '?') return {TakeFollowingSpaces(i + 1, true), true};
    const char after = i + 1 < size ? Text_[i + 1] : '\0';
    if (after == ' ' || IsObjectChar(after) || after == LineBreakChar)
      return {TakeFollowingSpaces(i + 1, true), true};
  }
  return {size, true};
}

int TSection::LineEndDoubleByte(int start, int fit) const {
  // Character starts from the line start, so that a trail byte is never taken for a lead.
  const int size = static_cast<int>(Text_.size());
  int limit = start + fit;
  std::vector<int> starts;
  int i = start;
  while (i < limit) {
    starts.push_back(i);
    i += IsLeadByte(i) && i + 1 < size ? 2 : 1;
  }
  if (i > limit) limit = starts.back();          // the fitted part ended inside a character
  if (limit <= start) return std::min(i, size);  // one character at least
  if (limit >= size) return size;
  if (IsLeadByte(limit) || IsObjectChar(Text_[limit]) || Text_[limit] == ' ')
    return TakeFollowingSpaces(limit, false);
  for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
    const int at = *it;
    if (at <= start) break;
    const char before = Text_[at - 1];
    if (IsLeadByte(at) || before == ' ' || IsObjectChar(before)) return at;
  }
  return limit;
}

void TSection::FinishLine(platform::Canvas& canvas, LineRec& line, bool firstLine, bool lastLine, int x,
                          int y, IndentManager& indents) {
  const int end = line.Start + std::max(line.Count, 1);
  line.LineHeight = 0;
  line.Descent = 0;
  const int first = Fonts_.IndexAt(line.Start);
  for (int index = first; index < Fonts_.Count(); ++index) {
    const TFontObj& run = Fonts_[index];
    if (index > first && run.Pos >= end) break;
    line.LineHeight = std::max(line.LineHeight, run.FontHeight());
    line.Descent = std::max(line.Descent, run.Descent());
  }
  if (LineHeightProp > line.LineHeight) {
    const int extra = LineHeightProp - line.LineHeight;
    line.SpaceBefore = extra / 2;
    line.SpaceAfter = extra - extra / 2;
  }
  int left = indents.LeftIndentAt(y);
  if (firstLine) left += FirstIndentPixels_;
  const int right = indents.RightIndentAt(y);
  line.Width = TextWidth(canvas, line.Start, line.Count, true);
  switch (TextAlign) {
    case taCenter: line.TextOffset = (left + right - line.Width) / 2 - x; break;
    case taRight: line.TextOffset = right - x - line.Width; break;
    default: line.TextOffset = left - x; break;
  }
  if (TextAlign == taJustify && !lastLine) {
    line.Extra = std::max(0, right - left - line.Width);
    line.Spaces = static_cast<int>(
        std::count(Text_.begin() + line.Start, Text_.begin() + line.Start + line.Count - 1, ' '));
    if (line.Spaces == 0) line.Extra = 0;
  }
  line.LineWidth = right - left;
  if (!Objects_.empty()) RaiseLineForObjects(line);
  line.LineBottom = line.SpaceBefore + line.LineHeight + line.SpaceAfter;
}

// Breaks the text into lines from the top down. Floats at the start of a line are placed
// before the line is measured; floats met after other content of a line wait until the
// line is done and go below it.
class TSection::LineBuilder {
 public:
  struct Result {
    int Bottom = 0;         // below the last line
    int Widest = 0;         // the widest line with its first-line indent
    int FirstBaseline = 0;  // 0 when there is no line
  };

  LineBuilder(TSection& section, const LayoutArgs& args, IndentManager& indents)
      : section_(section),
        text_(section.Text_),
        canvas_(*args.canvas),
        args_(args),
        indents_(indents),
        size_(static_cast<int>(section.Text_.size())),
        y_(args.y) {}

  Result Build();

 private:
  void FindNextLineBreak(int start);
  // An empty line that moves the text down: past floats it must clear, or below a float
  // that leaves no room for the next word.
  void AddGapLine(int start, int height);
  // True when a float narrows the line at `y_` and there is more room further down: a gap
  // line moved the text there.
  bool MovedBelowFloat(int start);
  void PlaceFloatsAtLineStart(int start);
  void PlaceFloatsOfLine(int start, int end);
  // The next line from `start`, or no line when the text moved down first.
  std::optional<int> NextLineEnd(int start);
  void AddLine(int start, int end);

  TSection& section_;
  const std::string& text_;
  platform::Canvas& canvas_;
  const LayoutArgs& args_;
  IndentManager& indents_;
  const int size_;
  int y_;
  LineContext context_;
  bool first_line_ = true;
  Result result_;
  std::vector<TFloatingObj*> floats_below_;
};

TSection::LineBuilder::Result TSection::LineBuilder::Build() {
  section_.EnsureRunMetrics(canvas_);
  const int percent = section_.TextIndentPercent;
  section_.FirstIndentPixels_ = percent ? args_.availWidth * percent / 100 : section_.TextIndent;
  for (const auto& run : section_.Fonts_.Runs())
    context_.widestChar = std::max(context_.widestChar, run->MaxCharWidth());
  context_.nextLineBreak = -1;
  if (const int clearing = section_.ClearingHeight(indents_, y_); clearing > 0) AddGapLine(0, clearing);
  for (int start = 0; start < size_;) {
    FindNextLineBreak(start);
    if (!section_.Objects_.empty()) PlaceFloatsAtLineStart(start);
    const std::optional<int> end = NextLineEnd(start);
    if (!end) continue;
    AddLine(start, *end);
    start = *end;
  }
  result_.Bottom = y_;
  return result_;
}

void TSection::LineBuilder::FindNextLineBreak(int start) {
  if (context_.nextLineBreak >= start) return;
  const void* found = std::memchr(text_.data() + start, LineBreakChar,
                                  static_cast<std::size_t>(size_ - start));
  context_.nextLineBreak = found ? static_cast<int>(static_cast<const char*>(found) - text_.data())
                                 : size_;
}

void TSection::LineBuilder::AddGapLine(int start, int height) {
  LineRec gap;
  gap.Start = start;
  gap.LineHeight = gap.LineBottom = height;
  section_.Lines_.push_back(gap);
  y_ += height;
}

bool TSection::LineBuilder::MovedBelowFloat(int start) {
  const int below = indents_.NextWiderY(y_);
  if (below <= y_) return false;
  AddGapLine(start, below - y_);
  return true;
}

void TSection::LineBuilder::PlaceFloatsAtLineStart(int start) {
  for (int at = start; at < size_ && text_[at] == InlineObjectChar; ++at) {
    TFloatingObj* object = section_.ObjectAt(at);
    if (!object || !object->Floats()) break;
    if (object->FloatY == NotLaidOut) section_.PlaceFloat(*object, y_, indents_);
  }
}

void TSection::LineBuilder::PlaceFloatsOfLine(int start, int end) {
  for (int at = start; at < end; ++at) {
    TFloatingObj* object = text_[at] == InlineObjectChar ? section_.ObjectAt(at) : nullptr;
    if (object && object->Floats() && object->FloatY == NotLaidOut) floats_below_.push_back(object);
  }
  for (TFloatingObj* object : floats_below_) section_.PlaceFloat(*object, y_, indents_);
  floats_below_.clear();
}

std::optional<int> TSection::LineBuilder::NextLineEnd(int start) {
  int fit = section_.FitCount(canvas_, context_, start, y_, first_line_, indents_);
  if (fit == 0) {
    if (MovedBelowFloat(start)) return std::nullopt;
    fit = 1;
  }
  if (start + fit >= size_) return size_;
  if (section_.HasDoubleByte) return section_.LineEndDoubleByte(start, fit);
  const LineBreak lineBreak = section_.LineEnd(start, fit);
  if (lineBreak.LongWord && MovedBelowFloat(start)) return std::nullopt;
  return lineBreak.End;
}

void TSection::LineBuilder::AddLine(int start, int end) {
  LineRec line;
  line.Start = start;
  line.Count = end - start;
  section_.FinishLine(canvas_, line, first_line_, end >= size_, args_.x, y_, indents_);
  if (first_line_) result_.FirstBaseline = y_ + line.SpaceBefore + line.LineHeight - line.Descent;
  // The widest line is what the section needs; a long word makes it wider than given.
  result_.Widest = std::max(result_.Widest,
                            line.Width + (first_line_ ? section_.FirstIndentPixels_ : 0));
  y_ += line.LineBottom;
  if (!section_.Objects_.empty()) PlaceFloatsOfLine(start, end);
  section_.Lines_.push_back(line);
  first_line_ = false;
}

int TSection::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  Top = AnchorTop = HitTop = args.y;
  StartPos = pos;
  ContentLeft = args.x;
  Lines_.clear();
  maxWidth = 0;
  const int size = static_cast<int>(Text_.size());
  FloatsBottom_ = 0;
  if (!Objects_.empty()) {
    const int usable = std::min(args.availWidth,
                                indents.RightIndentAt(args.y) - indents.LeftIndentAt(args.y));
    SizeObjects(*args.canvas, usable);
    for (const auto& object : Objects_)
      if (!object->Floats()) maxWidth = std::max(maxWidth, object->OuterWidth());
  }
  for (const auto& object : Objects_) object->FloatY = NotLaidOut;
  LineBuilder::Result lines;
  if (size == 0) {
    lines.Bottom = args.y + ClearingHeight(indents, args.y);
  } else {
    lines = LineBuilder(*this, args, indents).Build();
    maxWidth = std::max(maxWidth, lines.Widest);
  }
  // A section keeps its lines until the next layout: only as many as it has.
  Lines_.shrink_to_fit();
  pos += size;
  Length = size;
  SectionHeight = lines.Bottom - args.y;
  DrawHeight = std::max(SectionHeight, FloatsBottom_ - args.y);
  ContentBottom = args.y + SectionHeight;
  HitBottom = args.y + DrawHeight;
  if (Document) {
    if (Document->FirstLineHeight && *Document->FirstLineHeight == 0 && lines.FirstBaseline > 0)
      *Document->FirstLineHeight = lines.FirstBaseline;
    if (SectionNumber > 0) Document->ReportSectionProgress(SectionNumber);
  }
  return SectionHeight;
}

}  // namespace tessival::layout
