#include "layout/form_textarea.h"

#include <algorithm>

#include "html/text_util.h"
#include "layout/form_print.h"
#include "layout/section_list.h"

namespace tessival::layout {

namespace {
constexpr int kMinSpecSize = 10;
constexpr int kExtraSize = 5;
constexpr int kPrintTextInset = 4;
// Rows and columns beyond this are taken as this: a window a page asks to be millions of
// characters wide is neither useful nor possible.
constexpr int kMaxRowsOrCols = 1000;

platform::TextWrap WrapOf(const std::string& value) {
  if (html::EqualsNoCase(value, "off")) return platform::TextWrap::kOff;
  if (html::EqualsNoCase(value, "hard")) return platform::TextWrap::kHard;
  return platform::TextWrap::kSoft;
}
}  // namespace

TTextAreaFormControlObj::TTextAreaFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                                 const html::TAttributeList& attributes)
    : TFormControlObj(document, form, pos, attributes) {
  if (const html::TAttribute* rows = attributes.Find(html::RowsSy); rows && rows->NumValue > 0)
    Rows = std::min(rows->NumValue, kMaxRowsOrCols);
  if (const html::TAttribute* cols = attributes.Find(html::ColsSy); cols && cols->NumValue > 0)
    Cols = std::min(cols->NumValue, kMaxRowsOrCols);
  if (const html::TAttribute* wrap = attributes.Find(html::WrapSy)) Wrap = WrapOf(wrap->StrValue);
  CreateWindow(platform::FormControlKind::kTextArea);
  Control_->SetWrap(Wrap);
}

void TTextAreaFormControlObj::ResetControl() { Control_->SetText(InitialText); }

bool TTextAreaFormControlObj::GetSubmission(int index, std::string& entry) const {
  if (index != 0) return false;
  std::string text;
  if (Wrap == platform::TextWrap::kHard) {
    const std::vector<std::string> lines = Control_->DisplayedLines();
    for (std::size_t i = 0; i < lines.size(); ++i) text += (i ? "\r\n" : "") + lines[i];
  } else {
    text = Control_->Text();
  }
  entry = Name + "=" + text;
  return true;
}

void TTextAreaFormControlObj::SetData(int index, const std::string& value) {
  (void)index;
  Control_->SetText(value);
}

void TTextAreaFormControlObj::SetSize(platform::Canvas& canvas) {
  const int frame = 2 * Control_->FrameWidth();
  const int bar = Control_->ScrollBarWidth();
  const int clientHeight = TextHeight(canvas) * Rows + kExtraSize;
  const int clientWidth = TextWidth(canvas, "s") * Cols + kExtraSize;
  // Soft and hard wrapping have a vertical bar; without wrapping there are both.
  const int height = SpecHeight >= kMinSpecSize
                         ? SpecHeight
                         : clientHeight + frame + (Wrap == platform::TextWrap::kOff ? bar : 0);
  const int width = SpecWidth >= kMinSpecSize ? SpecWidth : clientWidth + frame + bar;
  SetWindowSize(width, height);
}

void TTextAreaFormControlObj::PrintControl(platform::Canvas& canvas, int x, int y) const {
  const platform::Rect box{x, y, x + Width(), y + Height()};
  PrintBox(canvas, box, FrameLook::kSunken, Document && Document->PrintMonoBlack);
  const platform::LogFont old = canvas.SelectFont(Font);
  const int lineHeight = std::max(canvas.GetTextExtentPoint32("A").cy, 1);
  canvas.SelectFont(old);
  const std::vector<std::string> lines = Control_->DisplayedLines();
  const int top = y + Control_->FrameWidth();
  for (std::size_t i = 0; i < lines.size() && static_cast<int>(i) < Rows; ++i) {
    const platform::Rect line{x, top + static_cast<int>(i) * lineHeight, box.right,
                              top + static_cast<int>(i + 1) * lineHeight};
    PrintText(canvas, line, Font, lines[i], kPrintTextInset);
  }
}

}  // namespace tessival::layout
