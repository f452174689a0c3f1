// Questions about points and positions in a laid-out text section: which character lies
// under a point, where a character is, which link is under the mouse, text search and
// copying the selection.
#include <algorithm>

#include "html/selection_buffers.h"
#include "layout/case_1252.h"
#include "layout/form_buttons.h"
#include "layout/image_obj.h"
#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {
namespace {

// Justified lines measure with their spaces widened, as they were painted.
class ScopedJustification {
 public:
  ScopedJustification(platform::Canvas& canvas, const LineRec& line) : canvas_(canvas) {
    if (line.Extra > 0) canvas.SetTextJustification(line.Extra, line.Spaces);
  }
  ~ScopedJustification() { canvas_.SetTextJustification(0, 0); }
  ScopedJustification(const ScopedJustification&) = delete;
  ScopedJustification& operator=(const ScopedJustification&) = delete;

 private:
  platform::Canvas& canvas_;
};

constexpr int MaxSearchLength = 255;
constexpr int IndentPixelsPerCopiedSpaces = 35;

}  // namespace

int TSection::LineAt(int y, int& bandTop) const {
  int top = Top;
  for (std::size_t i = 0; i < Lines_.size(); ++i) {
    const int bottom = top + Lines_[i].LineBottom;
    if (y >= top && y < bottom) {
      bandTop = top;
      return static_cast<int>(i);
    }
    top = bottom;
  }
  return -1;
}

int TSection::CountFitting(platform::Canvas& canvas, const LineRec& line, int width) const {
  if (line.Start == FitCacheStart_ && width == FitCacheWidth_) return FitCacheCount_;
  ScopedJustification justification(canvas, line);
  int fitted = 0;
  if (!Objects_.empty()) {
    // A picture or panel is as wide as the object, not as its stand-in character's glyph:
    // the widest prefix that fits, measured as painted.
    int tooWide = line.Count + 1;
    while (tooWide - fitted > 1) {
      const int middle = fitted + (tooWide - fitted) / 2;
      if (PaintedWidth(canvas, line.Start, middle) <= width) fitted = middle;
      else tooWide = middle;
    }
    FitCacheStart_ = line.Start;
    FitCacheWidth_ = width;
    FitCacheCount_ = fitted;
    return fitted;
  }
  int free = width;
  const int end = line.Start + line.Count;
  for (int pos = line.Start; pos < end;) {
    const int chunkEnd = pos + Fonts_.CharsToNextRun(pos, end);
    const TFontObj& run = Fonts_.FontAt(pos);
    run.Select(canvas);
    const platform::TextExtentEx fit = canvas.FitText(
        std::string_view(Text_.data() + pos, static_cast<std::size_t>(chunkEnd - pos)), free);
    fitted += fit.fit;
    if (fit.fit < chunkEnd - pos) break;
    free -= fit.fit_width;
    pos = chunkEnd;
  }
  FitCacheStart_ = line.Start;
  FitCacheWidth_ = width;
  FitCacheCount_ = fitted;
  return fitted;
}

int TSection::PositionAtPoint(platform::Canvas& canvas, int x, int y, bool& insideText, int& lineHeight,
                              int& lineTop, int& charX) {
  if (x < PaintX) return -1;
  int bandTop = 0;
  const int index = LineAt(y, bandTop);
  if (index < 0) return -1;
  const LineRec& line = Lines_[index];
  const int textX = PaintX + line.TextOffset;
  if (x > textX + line.LineWidth) return -1;
  lineHeight = line.LineHeight;
  lineTop = bandTop + line.SpaceBefore;
  if (x < textX) {
    insideText = false;
    charX = textX;
    return StartPos + line.Start;
  }
  insideText = true;
  int count = CountFitting(canvas, line, x - textX);
  if (HasDoubleByte) {
    // The fitted part may end between the two bytes of a character: count whole ones.
    int whole = 0;
    while (whole < count) {
      const int step = IsLeadByte(line.Start + whole) && whole + 1 < line.Count ? 2 : 1;
      if (whole + step > count) break;
      whole += step;
    }
    count = whole;
  }
  int width = 0;
  {
    ScopedJustification justification(canvas, line);
    width = PaintedWidth(canvas, line.Start, count);
    if (count < line.Count) {
      // Past the middle of the next character (both bytes of a double-byte one), the
      // position is after it.
      const int step = IsLeadByte(line.Start + count) && count + 1 < line.Count ? 2 : 1;
      const int after = PaintedWidth(canvas, line.Start, count + step);
      if (x - textX > (width + after) / 2) {
        count += step;
        width = after;
      }
    }
  }
  charX = textX + width;
  return StartPos + line.Start + count;
}

bool TSection::PointOfPosition(platform::Canvas* canvas, int pos, int& y, int& x) {
  const int offset = pos - StartPos;
  if (offset < 0 || offset > static_cast<int>(Text_.size()) || Lines_.empty()) return false;
  int top = Top;
  for (std::size_t i = 0; i < Lines_.size(); ++i) {
    const LineRec& line = Lines_[i];
    const bool last = i + 1 == Lines_.size();
    if (offset < line.Start + line.Count || (last && offset <= line.Start + line.Count)) {
      if (line.Count == 0 && !last) {
        top += line.LineBottom;
        continue;
      }
      y = top;
      x = PaintX + line.TextOffset;
      if (canvas) {
        ScopedJustification justification(*canvas, line);
        x += PaintedWidth(*canvas, line.Start, offset - line.Start);
      }
      return true;
    }
    top += line.LineBottom;
  }
  return false;
}

int TSection::WidthBefore(platform::Canvas& canvas, const LineRec& line, int offset) const {
  ScopedJustification justification(canvas, line);
  return PaintedWidth(canvas, line.Start, std::clamp(offset - line.Start, 0, line.Count));
}

int TSection::FindLink(platform::Canvas& canvas, int x, std::string& title,
                       TFormControlObj*& formControl, std::unique_ptr<html::TUrlTarget>& urlTarget,
                       int y) {
  if (!Objects_.empty()) {
    int localX = 0, localY = 0;
    TImageObj* image = nullptr;
    if (FindImageAt(x, y, localX, localY, image)) {
      if (image->FormControl) {
        // An image input: the point is kept for the entries a click on it submits.
        static_cast<TImageFormControlObj*>(image->FormControl)->SetClickPoint(localX, localY);
        formControl = image->FormControl;
        return ImageLink(*image, localX, localY, title, urlTarget) | flFormControl;
      }
      return ImageLink(*image, localX, localY, title, urlTarget);
    }
  }
  int bandTop = 0;
  const int index = LineAt(y, bandTop);
  if (index < 0) return 0;
  const LineRec& line = Lines_[index];
  const int textX = PaintX + line.TextOffset;
  if (x < textX || line.Count == 0) return 0;
  const int count = CountFitting(canvas, line, x - textX);
  if (count >= line.Count) return 0;  // beyond the end of the line's text
  const int offset = line.Start + count;
  TFontObj& run = Fonts_[Fonts_.IndexAt(offset)];
  int found = 0;
  if (run.IsLinkRun() && Text_[offset] != InlineObjectChar) {
    urlTarget = std::make_unique<html::TUrlTarget>(run.UrlTarget);
    if (Document) Document->ActiveLinkFont = &run;
    found |= flLink;
  }
  if (!run.Title.empty()) {
    title = run.Title;
    found |= flTitle;
  }
  return found;
}

int TSection::ImageLink(TImageObj& image, int localX, int localY, std::string& title,
                        std::unique_ptr<html::TUrlTarget>& urlTarget) {
  int found = 0;
  if (Document) Document->ActiveImage = &image;
  if (!image.Title.empty()) {
    title = image.Title;
    found |= flTitle;
  }
  if (image.UsesMap) {
    const html::TMapItem* map = Document ? Document->FindMap(image.MapName) : nullptr;
    if (map) {
      if (auto target = map->HitTest(localX, localY)) {
        urlTarget = std::move(target);
        found |= flLink;
      }
    }
    return found;
  }
  const TFontObj& run = Fonts_.FontAt(image.Pos);
  if (run.IsLinkRun()) {
    urlTarget = std::make_unique<html::TUrlTarget>(run.UrlTarget);
    if (image.IsMap) {
      // A server-side map: the point goes to the server with the address.
      urlTarget->Assign(run.UrlTarget.Url() + "?" + std::to_string(localX) + "," +
                            std::to_string(localY),
                        run.UrlTarget.Target());
    }
    found |= flLink;
  }
  return found;
}

int TSection::FindText(int fromPos, std::string_view text, bool matchCase) {
  if (text.empty()) return -1;
  if (text.size() > MaxSearchLength) text = text.substr(0, MaxSearchLength);
  const int offset = std::max(0, fromPos - StartPos);
  if (offset >= static_cast<int>(Text_.size())) return -1;
  if (matchCase) {
    const std::size_t at = Text_.find(text, static_cast<std::size_t>(offset));
    return at == std::string::npos ? -1 : StartPos + static_cast<int>(at);
  }
  // Candidates are the places of the first character in either case.
  const char lower = Lower1252(text[0]);
  const char upper = Upper1252(text[0]);
  const auto sameNoCase = [](char a, char b) { return Lower1252(a) == Lower1252(b); };
  for (std::size_t i = static_cast<std::size_t>(offset); i + text.size() <= Text_.size(); ++i) {
    if (Text_[i] != lower && Text_[i] != upper) continue;
    if (std::equal(text.begin(), text.end(), Text_.begin() + static_cast<std::ptrdiff_t>(i), sameNoCase))
      return StartPos + static_cast<int>(i);
  }
  return -1;
}

void TSection::CopySelection() {
  if (!Document || !Document->SelectionBuffer) return;
  html::SelTextCount& buffer = *Document->SelectionBuffer;
  int selStart = 0, selEnd = 0;
  SelectionOffsets(selStart, selEnd);
  for (const LineRec& line : Lines_) {
    const int lineEnd = line.Start + line.Count;
    const int from = std::max(selStart, line.Start);
    const int to = std::min(selEnd, lineEnd);
    if (from >= to) continue;
    if (from == line.Start) {
      // An indented line keeps its indent as spaces.
      const std::string indent(static_cast<std::size_t>(
                                   3 * std::max(0, line.TextOffset / IndentPixelsPerCopiedSpaces)),
                               ' ');
      if (!indent.empty()) buffer.AddText(indent.data(), static_cast<int>(indent.size()));
    }
    const char* chars = Text_.data() + from;
    if (to == lineEnd) buffer.AddTextCR(chars, to - from);
    else buffer.AddText(chars, to - from);
  }
}

void TSection::SetLinkHover(TFontObj& run, bool hover) {
  TSectionList* document = run.Section ? run.Section->Document : nullptr;
  if (!document) {
    run.SetHover(hover);
    return;
  }
  const auto& links = document->LinkList();
  const auto at = std::find(links.begin(), links.end(), &run);
  if (at == links.end()) {
    run.SetHover(hover);
    return;
  }
  const int number = run.UrlTarget.LinkNumber();
  for (auto it = at; it != links.end() && (*it)->UrlTarget.LinkNumber() == number; ++it)
    (*it)->SetHover(hover);
  for (auto it = at; it != links.begin() && (*(it - 1))->UrlTarget.LinkNumber() == number;)
    (*--it)->SetHover(hover);
}

}  // namespace tessival::layout
