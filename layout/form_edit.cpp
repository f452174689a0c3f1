#include "layout/form_edit.h"

#include <algorithm>
#include <charconv>

#include "layout/form_print.h"
#include "layout/html_form.h"
#include "layout/section_list.h"

namespace tessival::layout {

namespace {
constexpr int kDefaultSizeChars = 15;
constexpr int kUnreadableSizeChars = 20;
constexpr int kExtraWidth = 5;
constexpr int kMinSpecWidth = 10;
constexpr int kPrintTextInset = 4;
// A page asking for more characters than this gets this many: the width must stay a
// number a window can have.
constexpr int kMaxSizeChars = 1000;

int ReadSizeChars(const html::TAttribute& size) {
  if (size.NumValue > 0) return size.NumValue;
  const std::string& text = size.StrValue;
  const std::size_t cut = text.find_first_of(" ,", 1);
  if (cut == std::string::npos) return kDefaultSizeChars;
  int chars = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + cut, chars);
  return error == std::errc() && end == text.data() + cut && chars > 0 ? chars : kUnreadableSizeChars;
}
}  // namespace

int EditSizeChars(const html::TAttribute& size) { return std::min(ReadSizeChars(size), kMaxSizeChars); }

TEditFormControlObj::TEditFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                                         const html::TAttributeList& attributes, bool password)
    : TFormControlObj(document, form, pos, attributes), Password(password) {
  if (const html::TAttribute* size = attributes.Find(html::SizeSy)) SizeChars = EditSizeChars(*size);
  if (const html::TAttribute* length = attributes.Find(html::MaxLengthSy))
    MaxLength = std::max(length->NumValue, 0);
  CreateWindow(password ? platform::FormControlKind::kPassword : platform::FormControlKind::kEdit);
  Control_->SetMaxLength(MaxLength);
  Control_->SetText(Value);
}

void TEditFormControlObj::ResetControl() { Control_->SetText(Value); }

bool TEditFormControlObj::GetSubmission(int index, std::string& entry) const {
  if (index != 0) return false;
  entry = Name + "=" + Control_->Text();
  return true;
}

void TEditFormControlObj::SetData(int index, const std::string& value) {
  (void)index;
  Control_->SetText(value);
}

void TEditFormControlObj::SetSize(platform::Canvas& canvas) {
  const int width = SpecWidth >= kMinSpecWidth ? SpecWidth
                                               : TextWidth(canvas, "0") * SizeChars + kExtraWidth;
  const int height = std::max(Control_->NaturalHeight(), SpecHeight);
  SetWindowSize(width, height);
}

bool TEditFormControlObj::KeyDown(int key, bool shift) {
  (void)shift;
  return Form && Form->EditKeyPress(*this, key);
}

void TEditFormControlObj::PrintControl(platform::Canvas& canvas, int x, int y) const {
  const platform::Rect box{x, y, x + Width(), y + Height()};
  PrintBox(canvas, box, FrameLook::kSunken, Document && Document->PrintMonoBlack);
  const std::string text = Control_->Text();
  PrintText(canvas, box, Font, Password ? std::string(text.size(), '*') : text, kPrintTextInset);
}

bool THiddenFormControlObj::GetSubmission(int index, std::string& entry) const {
  if (index != 0) return false;
  entry = Name + "=" + Value;
  return true;
}

}  // namespace tessival::layout
