// Forms and their controls: FORM blocks, INPUT, SELECT with its options, and TEXTAREA
// with its own way of reading text.
#include "html/text_util.h"
#include "layout/form_control_obj.h"
#include "layout/form_select.h"
#include "layout/form_textarea.h"
#include "layout/html_form.h"
#include "layout/section_list.h"
#include "reader/tag_reader_state.h"

namespace tessival::layout {

using namespace html;

namespace {
// An option's caption is kept to this many characters.
constexpr std::size_t kMaxOptionCaption = 255;
}  // namespace

ThtmlForm& TTagReader::CurrentForm() {
  if (!Form) {
    Doc.FormList.push_back(std::make_unique<ThtmlForm>(&Doc, nullptr));
    Form = Doc.FormList.back().get();
  }
  return *Form;
}

void TTagReader::ParseForm(const SymbolSet& termSet) {
  SymbolSet inner = termSet;
  inner.set(FormSy);
  inner.set(FormEndSy);
  while (Sy() == FormSy) {
    if (TooDeep()) {
      Next();
      return;
    }
    const TNestingGuard guard(Nesting);
    CloseSection();
    TElementScope element(*this, "form");
    FontChanged();
    TCellBasic* outer = EnterBlock();
    Doc.FormList.push_back(std::make_unique<ThtmlForm>(&Doc, &Attrs()));
    Form = Doc.FormList.back().get();
    OpenSection();
    Next();
    ParseBody(inner);
    LeaveBlock(outer);
    element.Close();
    if (Sy() == FormEndSy) {
      Form = nullptr;
      Next();
    }
  }
}

void TTagReader::ParseFormControl() {
  const Symbol tag = Sy();
  TSection& section = CurrentSection();
  const TProperties& props = Push(tag == SelectSy ? "select" : "input");
  TFormControlObj& control = section.AddFormControl(tag, CurrentForm(), Attrs(), Cell,
                                                    Tok.TagStartPos());
  control.ApplyStyle(props);
  Pop(tag == SelectSy ? "select" : "input");
  if (tag != SelectSy) {
    Next();
    return;
  }
  auto& select = static_cast<TListBoxFormControlObj&>(control);
  ParseOptions(select);
  control.SaveValue();
  // Only the SELECT's own end is consumed: a cell or paragraph that ended the options
  // belongs to the reader that called.
  if (Sy() == SelectEndSy) Next();
}

void TTagReader::ParseOptions(TListBoxFormControlObj& control) {
  static const SymbolSet ends = MakeSet({SelectEndSy, PSy, TDSy, TDEndSy, TRSy, TREndSy, THSy, THEndSy,
                                         TableEndSy, CaptionSy, CaptionEndSy, InputSy, EofToken});
  const bool savedNoBreak = NoBreak;
  NoBreak = false;
  bool open = false;
  std::string caption, value;
  bool hasValue = false, selected = false;
  const auto finish = [&] {
    if (!open) return;
    const std::string trimmed(Trim(caption));
    control.AddOption(trimmed, hasValue ? value : trimmed, selected);
    open = false;
  };
  Next();
  while (!ends[Sy()]) {
    if (Sy() == OptionSy || Sy() == OptionEndSy) {
      finish();
      if (Sy() == OptionSy) {
        open = true;
        caption.clear();
        const TAttribute* given = Attrs().Find(ValueSy);
        hasValue = given != nullptr;
        value = given ? given->StrValue : std::string();
        selected = Attrs().Find(SelectedSy) != nullptr;
      }
    } else if (Sy() == TextToken && open) {
      const std::string& text = Tok.Token().Text();
      const std::string piece = text.size() == 1 && text[0] == NoBreakSpaceChar ? " " : text;
      caption += piece.substr(0, kMaxOptionCaption - std::min(caption.size(), kMaxOptionCaption));
    }
    Next();
  }
  finish();
  control.AddOptionsDone();
  NoBreak = savedNoBreak;
}

void TTagReader::ParseTextArea() {
  TSection& section = CurrentSection();
  const TProperties& props = Push("textarea");
  auto& control = static_cast<TTextAreaFormControlObj&>(
      section.AddFormControl(TextAreaSy, CurrentForm(), Attrs(), Cell, Tok.TagStartPos()));
  Tok.SetTextAreaMode(true);
  std::string line;
  for (Next(); Sy() != TextAreaEndSy && Sy() != EofToken; Next()) {
    if (Sy() == EolToken) {
      control.AddLine(line + "\r\n");
      line.clear();
    } else {
      line += Tok.Token().Text();
    }
  }
  Tok.SetTextAreaMode(false);
  // The end tag's '>' (after anything the tag carries) closes the element.
  while (!Tok.AtEof() && Tok.Ch() != '>') Tok.ReadChar();
  if (!Tok.AtEof()) Tok.ReadChar();
  if (!line.empty()) control.AddLine(line);
  control.ContentsDone();
  control.SaveValue();
  control.ApplyStyle(props);
  Pop("textarea");
  Next();
}

}  // namespace tessival::layout
