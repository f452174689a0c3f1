#include "platform/recording_form_controls.h"

#include <algorithm>

namespace tessival::platform {

RecordingFormControl::RecordingFormControl(FormControlKind kind, RecordingFormControlFactory* factory)
    : kind_(kind), factory_(factory) {}

RecordingFormControl::~RecordingFormControl() {
  if (!factory_) return;
  std::erase(factory_->controls_, this);
  if (factory_->focused_ == this) factory_->focused_ = nullptr;
}

void RecordingFormControl::Focus() {
  if (Focused()) return;
  if (factory_) {
    RecordingFormControl* previous = factory_->focused_;
    factory_->focused_ = nullptr;
    if (previous && previous->events_.OnExit) previous->events_.OnExit();
    factory_->focused_ = this;
  }
  if (events_.OnEnter) events_.OnEnter();
}

bool RecordingFormControl::Focused() const { return factory_ && factory_->focused_ == this; }

void RecordingFormControl::Type(const std::string& text) {
  for (const char ch : text) {
    if (max_length_ > 0 && static_cast<int>(text_.size()) >= max_length_) break;
    text_ += ch;
  }
}

void RecordingFormControl::PressKey(int key, bool shift) {
  if (events_.OnKeyDown && events_.OnKeyDown(key, shift)) return;
  if (key == kKeyReturn && kind_ == FormControlKind::kTextArea) text_ += "\r\n";
  if (IsList() && (key == kKeyDown || key == kKeyUp) && !items_.empty()) {
    const int step = key == kKeyDown ? 1 : -1;
    ChooseItem(std::clamp(item_index_ + step, 0, ItemCount() - 1));
  }
}

void RecordingFormControl::Click() {
  Focus();
  if (kind_ == FormControlKind::kCheckBox) checked_ = !checked_;
  if (kind_ == FormControlKind::kRadioButton) checked_ = true;
  if (events_.OnClick) events_.OnClick();
}

void RecordingFormControl::ChooseItem(int index) {
  if (index < 0 || index >= ItemCount()) return;
  Focus();
  if (multi_select_) {
    selected_[static_cast<std::size_t>(index)] = !selected_[static_cast<std::size_t>(index)];
    item_index_ = index;
  } else {
    SetItemIndex(index);
  }
  if (events_.OnClick) events_.OnClick();
}

void RecordingFormControl::SetBounds(int x, int y, int width, int height) {
  bounds_ = Rect{x, y, x + width, y + height};
}

void RecordingFormControl::SetText(const std::string& text) {
  text_ = text;
  if (max_length_ > 0 && static_cast<int>(text_.size()) > max_length_ &&
      kind_ != FormControlKind::kTextArea)
    text_.resize(static_cast<std::size_t>(max_length_));
}

std::vector<std::string> RecordingFormControl::DisplayedLines() const {
  // Without a window the lines are those the text holds.
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text_.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text_.substr(start, end - start));
  if (start < text_.size()) lines.push_back(text_.substr(start));
  return lines;
}

void RecordingFormControl::SetItems(const std::vector<std::string>& items) {
  items_ = items;
  selected_.assign(items.size(), false);
  item_index_ = -1;
  top_index_ = 0;
}

void RecordingFormControl::SetItemIndex(int index) {
  item_index_ = index >= 0 && index < ItemCount() ? index : -1;
  if (!multi_select_) {
    std::fill(selected_.begin(), selected_.end(), false);
    if (item_index_ >= 0) selected_[static_cast<std::size_t>(item_index_)] = true;
  }
}

bool RecordingFormControl::ItemSelected(int index) const {
  return index >= 0 && index < ItemCount() && selected_[static_cast<std::size_t>(index)];
}

void RecordingFormControl::SetItemSelected(int index, bool selected) {
  if (index < 0 || index >= ItemCount()) return;
  if (!multi_select_) {
    if (selected) SetItemIndex(index);
    else if (index == item_index_) SetItemIndex(-1);
    return;
  }
  selected_[static_cast<std::size_t>(index)] = selected;
}

RecordingFormControlFactory::~RecordingFormControlFactory() {
  for (RecordingFormControl* control : controls_) control->factory_ = nullptr;
}

std::unique_ptr<FormControlWindow> RecordingFormControlFactory::CreateControl(FormControlKind kind) {
  auto control = std::make_unique<RecordingFormControl>(kind, this);
  controls_.push_back(control.get());
  return control;
}

void RecordingFormControlFactory::ClearFocus() {
  RecordingFormControl* previous = focused_;
  focused_ = nullptr;
  if (previous && previous->events_.OnExit) previous->events_.OnExit();
}

}  // namespace tessival::platform
