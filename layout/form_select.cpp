#include "layout/form_select.h"

#include <algorithm>

#include "layout/form_print.h"
#include "layout/section_list.h"

namespace tessival::layout {

namespace {
constexpr int kMaxDefaultRows = 8;
constexpr int kMinSpecSize = 10;
constexpr int kExtraWidth = 10;
constexpr int kMinWidestOption = 3;
constexpr int kPrintTextInset = 4;
// SIZE beyond this many rows is taken as this, so the window's height stays a number.
constexpr int kMaxRows = 1000;
}  // namespace

bool SelectIsListBox(const html::TAttributeList& attributes) {
  const html::TAttribute* size = attributes.Find(html::SizeSy);
  return attributes.Find(html::MultipleSy) != nullptr || (size && size->NumValue > 1);
}

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                               const html::TAttributeList& attributes)
    : TListBoxFormControlObj(document, form, pos, attributes, platform::FormControlKind::kListBox) {}

TListBoxFormControlObj::TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                               const html::TAttributeList& attributes,
                                               platform::FormControlKind kind)
    : TFormControlObj(document, form, pos, attributes),
      Multiple(attributes.Find(html::MultipleSy) != nullptr) {
  if (const html::TAttribute* size = attributes.Find(html::SizeSy); size && size->NumValue > 0)
    Rows = std::min(size->NumValue, kMaxRows);
  CreateWindow(kind);
  Control_->SetMultiSelect(Multiple);
}

void TListBoxFormControlObj::AddOption(const std::string& caption, const std::string& value,
                                       bool selected) {
  Options.push_back(TOptionObj{caption, value, selected});
}

void TListBoxFormControlObj::MeasureOptions(platform::Canvas& canvas) {
  WidestOption = kMinWidestOption;
  for (const TOptionObj& option : Options)
    WidestOption = std::max(WidestOption, TextWidth(canvas, option.Text));
}

int TListBoxFormControlObj::InitialItem() const {
  for (std::size_t i = Options.size(); i-- > 0;)
    if (Options[i].Selected) return static_cast<int>(i);
  return Options.empty() ? -1 : 0;
}

void TListBoxFormControlObj::ResetControl() {
  std::vector<std::string> captions;
  captions.reserve(Options.size());
  for (const TOptionObj& option : Options) captions.push_back(option.Text);
  Control_->SetItems(captions);
  if (Multiple) {
    bool any = false;
    for (std::size_t i = 0; i < Options.size(); ++i) {
      Control_->SetItemSelected(static_cast<int>(i), Options[i].Selected);
      any = any || Options[i].Selected;
    }
    if (!any && !Options.empty()) Control_->SetItemSelected(0, true);
  } else {
    Control_->SetItemIndex(InitialItem());
  }
  Control_->SetTopIndex(0);
}

bool TListBoxFormControlObj::GetSubmission(int index, std::string& entry) const {
  if (index < 0 || index >= static_cast<int>(Options.size())) return false;
  const bool chosen = Multiple ? Control_->ItemSelected(index) : Control_->ItemIndex() == index;
  entry = chosen ? Name + "=" + Options[static_cast<std::size_t>(index)].Value : std::string();
  return true;
}

void TListBoxFormControlObj::SetData(int index, const std::string& value) {
  if (index == 0) {
    Control_->SetItemIndex(Options.empty() ? -1 : 0);
    for (int i = 0; i < static_cast<int>(Options.size()); ++i) Control_->SetItemSelected(i, false);
  }
  for (int i = 0; i < static_cast<int>(Options.size()); ++i)
    if (Options[static_cast<std::size_t>(i)].Value == value) Control_->SetItemSelected(i, true);
}

void TListBoxFormControlObj::SetSize(platform::Canvas& canvas) {
  MeasureOptions(canvas);
  if (Rows < 0) Rows = std::max(1, std::min(kMaxDefaultRows, static_cast<int>(Options.size())));
  const int frame = 2 * Control_->FrameWidth();
  const int clientHeight = SpecHeight >= kMinSpecSize ? SpecHeight : TextHeight(canvas) * Rows;
  const int width = SpecWidth >= kMinSpecSize ? SpecWidth
                                              : Control_->ScrollBarWidth() + WidestOption + kExtraWidth;
  SetWindowSize(width, clientHeight + frame);
}

std::string TListBoxFormControlObj::CurrentValue() const {
  std::string marks;
  for (int i = 0; i < static_cast<int>(Options.size()); ++i)
    marks += Control_->ItemSelected(i) ? '1' : '0';
  return marks + std::to_string(Control_->ItemIndex());
}

void TListBoxFormControlObj::PrintControl(platform::Canvas& canvas, int x, int y) const {
  const platform::Rect box{x, y, x + Width(), y + Height()};
  PrintBox(canvas, box, FrameLook::kSunken, Document && Document->PrintMonoBlack);
  const platform::LogFont old = canvas.SelectFont(Font);
  const int lineHeight = std::max(canvas.GetTextExtentPoint32("A").cy, 1);
  canvas.SelectFont(old);
  const int top = y + Control_->FrameWidth();
  for (std::size_t i = 0; i < Options.size() && static_cast<int>(i) < Rows; ++i) {
    const platform::Rect line{x, top + static_cast<int>(i) * lineHeight, box.right,
                              top + static_cast<int>(i + 1) * lineHeight};
    PrintText(canvas, line, Font, Options[i].Text, kPrintTextInset);
  }
}

// --- drop-down lists -----------------------------------------------------------------

TComboFormControlObj::TComboFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                           const html::TAttributeList& attributes)
    : TListBoxFormControlObj(document, form, pos, attributes, platform::FormControlKind::kComboBox) {
  Multiple = false;
  Control_->SetMultiSelect(false);
}

void TComboFormControlObj::ResetControl() {
  std::vector<std::string> captions;
  captions.reserve(Options.size());
  for (const TOptionObj& option : Options) captions.push_back(option.Text);
  Control_->SetItems(captions);
  Control_->SetItemIndex(InitialItem());
}

bool TComboFormControlObj::GetSubmission(int index, std::string& entry) const {
  if (index != 0) return false;
  const int item = Control_->ItemIndex();
  entry = item >= 0 && item < static_cast<int>(Options.size())
              ? Name + "=" + Options[static_cast<std::size_t>(item)].Value
              : std::string();
  return true;
}

void TComboFormControlObj::SetData(int index, const std::string& value) {
  (void)index;
  for (std::size_t i = 0; i < Options.size(); ++i)
    if (Options[i].Value == value) Control_->SetItemIndex(static_cast<int>(i));
}

void TComboFormControlObj::SetSize(platform::Canvas& canvas) {
  MeasureOptions(canvas);
  const int height = SpecHeight > kMinSpecSize - 1 ? SpecHeight : Control_->NaturalHeight();
  const int width = SpecWidth >= kMinSpecSize ? SpecWidth
                                              : Control_->ScrollBarWidth() + WidestOption + kExtraWidth +
                                                    2 * Control_->FrameWidth();
  SetWindowSize(width, height);
}

void TComboFormControlObj::PrintControl(platform::Canvas& canvas, int x, int y) const {
  const platform::Rect box{x, y, x + Width(), y + Height()};
  PrintBox(canvas, box, FrameLook::kSunken, Document && Document->PrintMonoBlack);
  const int item = Control_->ItemIndex();
  if (item >= 0 && item < static_cast<int>(Options.size()))
    PrintText(canvas, box, Font, Options[static_cast<std::size_t>(item)].Text, kPrintTextInset);
}

}  // namespace tessival::layout
