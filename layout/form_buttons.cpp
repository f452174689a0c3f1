#include "layout/form_buttons.h"

#include "html/text_util.h"
#include "layout/form_print.h"
#include "layout/html_form.h"
#include "layout/image_obj.h"
#include "layout/section_list.h"

namespace tessival::layout {

namespace {

constexpr int kBoxSize = 13;
constexpr int kRadioHeight = 14;
constexpr int kButtonTextPadding = 8;
constexpr int kButtonLabelPadding = 20;
constexpr int kMinSpecWidth = 10;

const char* DefaultLabel(int kind) {
  switch (kind) {
    case bkReset: return "Reset";
    case bkButton: return "Button";
    default: return "Submit";
  }
}

bool SameText(const std::string& a, const std::string& b) { return html::EqualsNoCase(a, b); }

}  // namespace

// --- buttons -------------------------------------------------------------------------

TButtonFormControlObj::TButtonFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                             const html::TAttributeList& attributes, int buttonKind)
    : TFormControlObj(document, form, pos, attributes), ButtonKind(buttonKind) {
  Label_ = attributes.Find(html::ValueSy) ? Value : DefaultLabel(buttonKind);
  CreateWindow(platform::FormControlKind::kButton);
  Control_->SetText(Label_);
}

void TButtonFormControlObj::SetSize(platform::Canvas& canvas) {
  const int textHeight = TextHeight(canvas);
  const int height = SpecHeight >= textHeight ? SpecHeight : textHeight + kButtonTextPadding;
  const int width = SpecWidth >= kMinSpecWidth ? SpecWidth
                                               : TextWidth(canvas, Label_) + kButtonLabelPadding;
  SetWindowSize(width, height);
}

void TButtonFormControlObj::Clicked() {
  FireClick();
  if (!Form) return;
  if (ButtonKind == bkSubmit) Form->Submit(Name.empty() ? std::string() : Name + "=" + Value);
  else if (ButtonKind == bkReset) Form->ResetControls();
}

void TButtonFormControlObj::PrintControl(platform::Canvas& canvas, int x, int y) const {
  const platform::Rect box{x, y, x + Width(), y + Height()};
  PrintBox(canvas, box, FrameLook::kRaised, Document && Document->PrintMonoBlack);
  const int textWidth = TextWidth(canvas, Label_);
  PrintText(canvas, box, Font, Label_, std::max((Width() - textWidth) / 2, 0));
}

// --- check boxes ---------------------------------------------------------------------

TCheckBoxFormControlObj::TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                                 const html::TAttributeList& attributes)
    : TCheckBoxFormControlObj(document, form, pos, attributes, platform::FormControlKind::kCheckBox) {
  if (!attributes.Find(html::ValueSy)) Value = "on";
}

TCheckBoxFormControlObj::TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                                 const html::TAttributeList& attributes,
                                                 platform::FormControlKind kind)
    : TFormControlObj(document, form, pos, attributes),
      InitiallyChecked(attributes.Find(html::CheckedSy) != nullptr) {
  VAlign = vaBaseline;
  CreateWindow(kind);
  Control_->SetChecked(InitiallyChecked);
}

void TCheckBoxFormControlObj::SetSize(platform::Canvas& canvas) {
  (void)canvas;
  SetWindowSize(kBoxSize, kBoxSize);
}

void TCheckBoxFormControlObj::ResetControl() { Control_->SetChecked(InitiallyChecked); }

bool TCheckBoxFormControlObj::GetSubmission(int index, std::string& entry) const {
  if (index != 0 || !Control_->Checked()) return false;
  entry = Name + "=" + Value;
  return true;
}

void TCheckBoxFormControlObj::SetData(int index, const std::string& value) {
  (void)index;
  if (SameText(value, Value)) Control_->SetChecked(true);
}

void TCheckBoxFormControlObj::ClearData() { Control_->SetChecked(false); }

std::string TCheckBoxFormControlObj::CurrentValue() const { return Control_->Checked() ? "1" : "0"; }

bool TCheckBoxFormControlObj::KeyDown(int key, bool shift) {
  (void)key, (void)shift;
  return false;  // the viewer's keys
}

void TCheckBoxFormControlObj::PrintControl(platform::Canvas& canvas, int x, int y) const {
  const platform::Rect box{x, y, x + Width(), y + Height()};
  PrintBox(canvas, box, FrameLook::kSunken, Document && Document->PrintMonoBlack);
  if (Control_->Checked()) PrintCheckMark(canvas, x, y + Height() / 2);
}

// --- radio buttons -------------------------------------------------------------------

TRadioButtonFormControlObj::TRadioButtonFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                                       const html::TAttributeList& attributes)
    : TCheckBoxFormControlObj(document, form, pos, attributes, platform::FormControlKind::kRadioButton) {
}

void TRadioButtonFormControlObj::SetSize(platform::Canvas& canvas) {
  (void)canvas;
  SetWindowSize(kBoxSize, kRadioHeight);
}

void TRadioButtonFormControlObj::Clicked() {
  if (Form) Form->RadioClicked(*this);
  FireClick();
}

bool TRadioButtonFormControlObj::KeyDown(int key, bool shift) {
  (void)shift;
  return Form && Form->ControlKeyDown(*this, key);
}

void TRadioButtonFormControlObj::PrintControl(platform::Canvas& canvas, int x, int y) const {
  PrintRadio(canvas, x, y, Control_->Checked());
}

// --- image inputs --------------------------------------------------------------------

TImageFormControlObj::TImageFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                           const html::TAttributeList& attributes, TImageObj& image)
    : TFormControlObj(document, form, pos, attributes), Image_(&image) {
  image.FormControl = this;
}

TImageFormControlObj::~TImageFormControlObj() = default;

void TImageFormControlObj::ApplyStyle(const html::TProperties& props) {
  TFormControlObj::ApplyStyle(props);
  // Width, height and alignment belong to the picture.
  Image_->ApplyStyle(props);
}

bool TImageFormControlObj::GetSubmission(int index, std::string& entry) const {
  if (!ClickPending_ || index > 1) return false;
  const std::string prefix = Name.empty() ? std::string() : Name + ".";
  if (index == 0) {
    entry = prefix + "x=" + std::to_string(ClickX);
  } else {
    entry = prefix + "y=" + std::to_string(ClickY);
    ClickPending_ = false;
  }
  return true;
}

void TImageFormControlObj::SetClickPoint(int x, int y) {
  ClickX = x;
  ClickY = y;
}

void TImageFormControlObj::ImageClicked() {
  FireClick();
  ClickPending_ = ClickX >= 0 && ClickY >= 0;
  if (Form) Form->Submit();
  ClickPending_ = false;
}

}  // namespace tessival::layout
