#include "layout/form_control_obj.h"

#include <algorithm>

#include "layout/font_obj.h"
#include "layout/html_form.h"
#include "layout/section_list.h"
#include "platform/recording_form_controls.h"

namespace tessival::layout {

namespace {

constexpr int kInitialWidth = 120;
constexpr int kInitialHeight = 20;

// A length the style gives in pixels (percentages of 200), or -1.
int StylePixels(const html::TProperties& props, html::PropIndex index) {
  const html::TVMarginArray given = props.GetVMarginArray();
  const html::PropValue& value = given[static_cast<std::size_t>(index - html::BoxFirst)];
  if (value.IsEmpty()) return -1;
  if (const int* number = value.IntValue(); number && *number == html::UnsetValue) return -1;
  const int pixels = props.BoxPixels(200).Pixels[static_cast<std::size_t>(index - html::BoxFirst)];
  return pixels == html::AutoValue ? -1 : pixels;
}

}  // namespace

TFormControlObj::TFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                 const html::TAttributeList& attributes)
    : Document(document), Form(form), Pos(pos) {
  for (std::size_t i = 0; i < attributes.Count(); ++i) {
    const html::TAttribute& attribute = attributes[i];
    switch (attribute.Symbol) {
      case html::ValueSy: Value = attribute.StrValue; break;
      case html::NameSy: Name = attribute.StrValue; break;
      case html::IDSy: Id = attribute.StrValue; break;
      case html::OnClickSy: OnClickText = attribute.StrValue; break;
      case html::OnFocusSy: OnFocusText = attribute.StrValue; break;
      case html::OnBlurSy: OnBlurText = attribute.StrValue; break;
      case html::OnChangeSy: OnChangeText = attribute.StrValue; break;
      default: break;
    }
  }
  if (Document && !Document->IsCopy && !Id.empty()) Document->IDNameList.AddObject(Id, this);
}

TFormControlObj::~TFormControlObj() = default;

void TFormControlObj::CreateWindow(platform::FormControlKind kind) {
  platform::FormControlFactory* factory = Document ? Document->FormHost.Factory : nullptr;
  if (factory && !(Document && Document->IsCopy)) Control_ = factory->CreateControl(kind);
  if (!Control_) Control_ = std::make_unique<platform::RecordingFormControl>(kind, nullptr);
  Control_->SetBounds(0, NewControlTop, kInitialWidth, kInitialHeight);
  platform::FormControlEvents events;
  events.OnEnter = [this] { Entered(); };
  events.OnExit = [this] { Exited(); };
  events.OnClick = [this] { Clicked(); };
  events.OnKeyDown = [this](int key, bool shift) { return KeyDown(key, shift); };
  Control_->SetEvents(std::move(events));
}

void TFormControlObj::SetWindowSize(int width, int height) {
  Width_ = std::max(width, 1);
  Height_ = std::max(height, 1);
  if (!Control_) return;
  const platform::Rect bounds = Control_->Bounds();
  Control_->SetBounds(bounds.left, bounds.top, Width_, Height_);
}

int TFormControlObj::TextWidth(platform::Canvas& canvas, const std::string& text) const {
  const platform::LogFont old = canvas.SelectFont(Font);
  const int width = canvas.GetTextExtentPoint32(text).cx;
  canvas.SelectFont(old);
  return width;
}

int TFormControlObj::TextHeight(platform::Canvas& canvas) const {
  const platform::LogFont old = canvas.SelectFont(Font);
  const int height = canvas.GetTextExtentPoint32("A").cy;
  canvas.SelectFont(old);
  return height;
}

void TFormControlObj::ApplyStyle(const html::TProperties& props) {
  switch (props.VerticalAlign()) {
    case html::TAlignmentType::aTop: VAlign = vaTop; break;
    case html::TAlignmentType::aMiddle: VAlign = vaMiddle; break;
    case html::TAlignmentType::aBaseline: VAlign = vaBaseline; break;
    case html::TAlignmentType::aBottom: VAlign = vaBottom; break;
    case html::TAlignmentType::aNone: break;
  }
  HSpaceLeft = std::max(StylePixels(props, html::piMarginLeft), 0);
  HSpaceRight = std::max(StylePixels(props, html::piMarginRight), 0);
  if (const int width = StylePixels(props, html::piWidth); width > 0) SpecWidth = width;
  if (const int height = StylePixels(props, html::piHeight); height > 0) SpecHeight = height;
  const html::TMyFont font = props.GetFont();
  Font.name = font.Name;
  Font.height = platform::PointsToPixels(font.Size);
  Font.style = static_cast<platform::TFontStyles>(font.Style & 0x0F);
  Font.color = font.Color;
  Font.charset = static_cast<std::uint8_t>(font.Charset);
  if (Control_) Control_->SetFont(Font);
}

void TFormControlObj::PrintControl(platform::Canvas& canvas, int x, int y) const {
  (void)canvas, (void)x, (void)y;
}

bool TFormControlObj::GetSubmission(int index, std::string& entry) const {
  (void)index, (void)entry;
  return false;
}

void TFormControlObj::SetData(int index, const std::string& value) { (void)index, (void)value; }

void TFormControlObj::SetSize(platform::Canvas& canvas) { (void)canvas; }

std::string TFormControlObj::CurrentValue() const { return Control_ ? Control_->Text() : Value; }

void TFormControlObj::CheckChange() {
  if (CurrentValue() == SavedValue_) return;
  SavedValue_ = CurrentValue();
  if (Document && Document->FormHost.OnObjectChange)
    Document->FormHost.OnObjectChange(*this, OnChangeText);
}

void TFormControlObj::Place(platform::Canvas& canvas, int x, int top) {
  (void)canvas;
  AnchorTop = top + (Document ? Document->YOffset : 0);
  Shown = true;
  if (!Control_) return;
  Control_->SetBounds(x, top, Width_, Height_);
  if (!Control_->Visible()) Control_->SetVisible(true);
}

void TFormControlObj::Park() {
  if (!Control_) return;
  const platform::Rect bounds = Control_->Bounds();
  Control_->SetBounds(ParkedControlX, bounds.top, Width_, Height_);
  Control_->SetVisible(true);
}

void TFormControlObj::Hide() {
  if (Control_) Control_->SetVisible(false);
}

void TFormControlObj::FireClick() {
  if (Document && Document->FormHost.OnObjectClick) Document->FormHost.OnObjectClick(*this, OnClickText);
}

void TFormControlObj::Clicked() { FireClick(); }

bool TFormControlObj::KeyDown(int key, bool shift) {
  (void)key, (void)shift;
  return false;
}

void TFormControlObj::Entered() {
  Active = true;
  if (!Document) return;
  if (Document->OnInvalidate) Document->OnInvalidate();
  if (Document->FormHost.OnControlIntoView) Document->FormHost.OnControlIntoView(AnchorTop);
  Document->HideOrParkControls();
  if (Document->FormHost.OnObjectFocus) Document->FormHost.OnObjectFocus(*this, OnFocusText);
  if (!OnChangeText.empty()) SaveValue();
}

void TFormControlObj::Exited() {
  if (Document) Document->HideOrParkControls();
  Active = false;
  if (!OnChangeText.empty()) CheckChange();
  if (!Document) return;
  if (Document->FormHost.OnObjectBlur) Document->FormHost.OnObjectBlur(*this, OnBlurText);
  if (Document->OnInvalidate) Document->OnInvalidate();
}

// ---------------------------------------------------------------------------------------

namespace {
const html::TAttributeList& NoAttributes() {
  static const html::TAttributeList empty;
  return empty;
}
}  // namespace

TFormControlSlot::TFormControlSlot(TFormControlObj& control)
    : TFloatingObj(control.Pos, NoAttributes(), 0), Control_(&control) {}

void TFormControlSlot::ApplyStyle(const html::TProperties& props) { Control_->ApplyStyle(props); }

void TFormControlSlot::Size(platform::Canvas& canvas, int availWidth, const TFontObj* run) {
  (void)availWidth;
  Control_->Pos = Pos;  // the section renumbers its objects after white-space rules
  TotalWidth = Control_->Width();
  TotalHeight = Control_->Height();
  HSpaceLeft = Control_->HSpaceLeft;
  HSpaceRight = Control_->HSpaceRight;
  // Line heights: top and middle as pictures, baseline stands on the text. A control at
  // the bottom reaches down to the descent, so it needs that much less room above.
  VSpaceBottom = 0;
  switch (Control_->VAlign) {
    case vaTop: Align = oaTop; break;
    case vaMiddle: Align = oaMiddle; break;
    case vaBottom:
      Align = oaBaseline;
      if (run) {
        run->EnsureMetrics(canvas);
        VSpaceBottom = -run->Descent();
      }
      break;
    default: Align = oaBaseline; break;
  }
}

void TFormControlSlot::Paint(platform::Canvas& canvas, int x, const TFontObj* run, int baseline,
                             int lineTop) {
  const int descent = run ? run->Descent() : 0;
  int top = baseline - TotalHeight;
  switch (Control_->VAlign) {
    case vaTop: top = lineTop; break;
    case vaMiddle: top = TopForLine(run, baseline, lineTop); break;
    case vaBottom: top = baseline + descent - TotalHeight; break;
    default: break;
  }
  DrawX = x;
  TSectionList* document = CopyDocument_ ? CopyDocument_ : Control_->Document;
  DrawY = top + (document ? document->YOffset : 0);
  if (CopyDocument_ || (document && document->Printing)) {
    Control_->PrintControl(canvas, x, top);
    return;
  }
  Control_->Place(canvas, x, top);
  if (document && Control_->GetControl()) {
    const platform::TColor background = platform::PlainColor(document->Background);
    Control_->GetControl()->SetBackground(background);
  }
  if (Control_->IsBox() && Control_->Active)
    canvas.DrawFocusRect(platform::Rect{x - 2, top - 2, x + TotalWidth + 2, top + TotalHeight + 2});
}

std::unique_ptr<TFloatingObj> TFormControlSlot::Clone(TSectionList* document) const {
  auto copy = std::make_unique<TFormControlSlot>(*Control_);
  copy->Pos = Pos;
  copy->CopyDocument_ = document;
  return copy;
}

}  // namespace tessival::layout
