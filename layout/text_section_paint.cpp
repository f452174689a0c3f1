// Painting a text section: its lines as runs of one font, split at selection edges.
#include <algorithm>
#include <cstring>

#include "layout/image_obj.h"
#include "layout/indent_manager.h"
#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {
namespace {

constexpr platform::TColor White = 0xFFFFFF;

// How far a sub- or superscript run sits from the baseline.
int ShiftOf(const TFontObj& run) {
  switch (run.VShift) {
    case TVShift::vsLowered: return run.Descent() / 2 + 1;
    case TVShift::vsRaised: return -run.FontHeight() / 3;
    default: return 0;
  }
}

constexpr platform::TColor PrintGrey = 0xA0A0A0;

// The text colour on paper: black on a printer of fewer than 3 colours when asked for, and
// grey for near-white text when backgrounds are not printed (it would vanish on white).
platform::TColor PrintedColor(const TSectionList& document, platform::Canvas& canvas,
                              platform::TColor color) {
  if (!document.Printing) return color;
  const platform::TColor plain = platform::PlainColor(color);
  if (document.PrintMonoBlack && canvas.GetDeviceCaps(platform::DeviceCap::NUMCOLORS) >= 0 &&
      canvas.GetDeviceCaps(platform::DeviceCap::NUMCOLORS) < 3 && plain != White)
    return 0;
  const int red = plain & 0xFF, green = (plain >> 8) & 0xFF;
  if (!document.PrintBackgrounds && red >= 0xE0 && green >= 0xE0) return PrintGrey;
  return color;
}

// Colours of a run: selected text swaps to the font colour behind the run's background
// colour (or the inverse of the font colour when the run has none).
void SetRunColors(platform::Canvas& canvas, const TFontObj& run, bool selected,
                  const TSectionList& document) {
  const platform::TColor font = PrintedColor(document, canvas, run.Font.Color);
  if (!selected) canvas.SetTextColor(font);
  const platform::TColor background = run.Font.bgColor;
  if (selected) {
    canvas.SetBkMode(platform::BkMode::OPAQUE);
    canvas.SetBkColor(font);
    canvas.SetTextColor(background != html::NoColor ? background : platform::PlainColor(font) ^ White);
  } else if (background != html::NoColor) {
    canvas.SetBkMode(platform::BkMode::OPAQUE);
    canvas.SetBkColor(background);
  } else {
    canvas.SetBkMode(platform::BkMode::TRANSPARENT);
  }
}

}  // namespace

void TSection::PaintObject(platform::Canvas& canvas, int pos, const TFontObj& run, int baseline,
                           int lineTop, const IndentManager& indents) {
  TFloatingObj* object = ObjectAt(pos);
  if (!object) return;
  if (object->Floats()) {
    if (object->FloatY == NotLaidOut) return;
    const int x = indents.LeftEdge + object->FloatX;
    const int top = object->FloatY - Document->YOffset;
    // Floating pictures are drawn over the text once it is all painted; a panel is a
    // window of its own and is only moved.
    if (auto* image = dynamic_cast<TImageObj*>(object))
      Document->DrawList.push_back({image, &canvas, x, top, baseline, &run});
    else object->Paint(canvas, x, &run, baseline, top);
    return;
  }
  const platform::Point at = canvas.GetCurrentPositionEx();
  const unsigned oldAlign = canvas.SetTextAlign(platform::TA_TOP);
  object->Paint(canvas, at.x + object->HSpaceLeft, &run, baseline, lineTop);
  canvas.SetTextAlign(oldAlign);
  canvas.MoveToEx(at.x + object->OuterWidth(), at.y);
}

int TSection::PaintChunkEnd(int pos, int end, int selStart, int selEnd) const {
  int chunkEnd = pos + Fonts_.CharsToNextRun(pos, end);
  if (!Objects_.empty()) {
    const void* object = std::memchr(Text_.data() + pos, InlineObjectChar,
                                     static_cast<std::size_t>(chunkEnd - pos));
    if (object) chunkEnd = static_cast<int>(static_cast<const char*>(object) - Text_.data());
  }
  if (pos >= selStart && pos < selEnd) chunkEnd = std::min(chunkEnd, selEnd);
  else if (pos < selStart) chunkEnd = std::min(chunkEnd, selStart);
  // The caret's character is drawn as a chunk of its own (both bytes of a double-byte
  // one), so the bar stands at a chunk start and never inside a character.
  if (Document->ShowCaret && pos == selStart) chunkEnd = std::min(chunkEnd, pos + CharLengthAt(pos));
  return chunkEnd;
}

void TSection::PaintLine(platform::Canvas& canvas, const LineRec& line, int y, int selStart, int selEnd,
                         IndentManager& indents) {
  const int yOffset = Document->YOffset;
  const int baseline = y - yOffset + line.SpaceBefore + line.LineHeight - line.Descent;
  int end = line.Start + line.Count;
  // A space or line break that ends the line is not drawn.
  while (end > line.Start && (Text_[end - 1] == ' ' || Text_[end - 1] == LineBreakChar)) --end;
  if (line.Extra > 0) canvas.SetTextJustification(line.Extra, line.Spaces);
  canvas.MoveToEx(line.TextX, baseline);
  int shift = 0;
  for (int pos = line.Start; pos < end;) {
    const TFontObj& run = Fonts_.FontAt(pos);
    if (Text_[pos] == InlineObjectChar && !Objects_.empty()) {
      const int lineTop = y - yOffset + line.SpaceBefore;
      PaintObject(canvas, pos, run, baseline, lineTop, indents);
      ++pos;
      continue;
    }
    const int chunkEnd = PaintChunkEnd(pos, end, selStart, selEnd);
    const bool selected = pos >= selStart && pos < selEnd;
    const bool caretHere = Document->ShowCaret && selStart == selEnd && pos == selStart;
    run.Select(canvas);
    if (const int runShift = ShiftOf(run); runShift != shift) {
      shift = runShift;
      canvas.MoveToEx(canvas.GetCurrentPositionEx().x, baseline + shift);
    }
    SetRunColors(canvas, run, selected, *Document);
    if (caretHere) {
      const int caretX = canvas.GetCurrentPositionEx().x;
      const int lineTop = baseline + line.Descent - line.LineHeight;
      canvas.FillRect({caretX, lineTop, caretX + 1, lineTop + line.LineHeight}, canvas.GetTextColor());
    }
    canvas.TextOut(0, 0, std::string_view(Text_.data() + pos, static_cast<std::size_t>(chunkEnd - pos)));
    pos = chunkEnd;
  }
  if (line.Extra > 0) canvas.SetTextJustification(0, 0);
}

int TSection::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
                    IndentManager& indents) {
  (void)refTop, (void)refLeft;
  PaintX = x;
  const int bottom = Top + SectionHeight;
  if (Text_.empty() || !Document) return bottom;
  const int yOffset = Document->YOffset;
  if (Top + DrawHeight <= clip.top + yOffset || Top >= clip.bottom + yOffset) return bottom;
  const unsigned oldAlign = canvas.SetTextAlign(platform::TA_BASELINE | platform::TA_UPDATECP);
  int selStart = 0, selEnd = 0;
  SelectionOffsets(selStart, selEnd);
  int y = Top;
  const int pageHeight = clip.bottom - clip.top;
  for (LineRec& line : Lines_) {
    const int band = line.LineBottom;
    line.TextX = x + line.TextOffset;
    if (Document->Printing && y + band > Document->PageBottom) {
      // A line that does not fit goes to the next page, unless no page could hold it.
      if (band < pageHeight && !Document->PageShortened) {
        // Pulled up only: a line wholly below a break already made must not move the
        // page's end down past that break.
        Document->PageBottom = std::min(Document->PageBottom, y);
        Document->PageShortened = true;
        break;
      }
    }
    const bool visible = y + band > clip.top + yOffset && y < clip.bottom + yOffset;
    if (visible && line.Count > 0) PaintLine(canvas, line, y, selStart, selEnd, indents);
    y += band;
  }
  canvas.SetBkMode(platform::BkMode::TRANSPARENT);
  canvas.SetTextAlign(oldAlign);
  return bottom;
}

}  // namespace tessival::layout
