#pragma once
// Form controls without a window system: they keep what they are told and let tests (and
// tools that have no display) act as the user would: focus a control, type into it, press
// keys and click. The factory keeps which of its controls has the focus, as a window
// system keeps one focus.
#include <memory>
#include <string>
#include <vector>

#include "platform/form_controls.h"

namespace tessival::platform {

class RecordingFormControlFactory;

class RecordingFormControl final : public FormControlWindow {
 public:
  RecordingFormControl(FormControlKind kind, RecordingFormControlFactory* factory);
  ~RecordingFormControl() override;
  RecordingFormControl(const RecordingFormControl&) = delete;
  RecordingFormControl& operator=(const RecordingFormControl&) = delete;

  FormControlKind Kind() const { return kind_; }

  // --- acting as the user ------------------------------------------------------------
  // Takes the focus from the control that has it (its exit event first).
  void Focus();
  // Types printable text at the end (respecting the maximum length of an edit).
  void Type(const std::string& text);
  // A key: the handler sees it first; Enter left to a multi-line edit starts a new line;
  // arrows move a list's current item.
  void PressKey(int key, bool shift = false);
  // A click: buttons click, boxes toggle, radio buttons check, list items are chosen.
  void Click();
  void ChooseItem(int index);

  // --- FormControlWindow ---------------------------------------------------------------
  void SetBounds(int x, int y, int width, int height) override;
  Rect Bounds() const override { return bounds_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  bool Visible() const override { return visible_; }
  void SetFocus() override { Focus(); }
  bool Focused() const override;
  void SetFont(const LogFont& font) override { font_ = font; }
  const LogFont& Font() const { return font_; }
  void SetBackground(TColor color) override { background_ = color; }
  TColor Background() const { return background_; }
  void SetEvents(FormControlEvents events) override { events_ = std::move(events); }
  int FrameWidth() const override { return 2; }
  int ScrollBarWidth() const override { return 16; }
  int NaturalHeight() const override { return 20; }
  std::string Text() const override { return text_; }
  void SetText(const std::string& text) override;
  void SetMaxLength(int length) override { max_length_ = length; }
  void SetWrap(TextWrap wrap) override { wrap_ = wrap; }
  TextWrap Wrap() const { return wrap_; }
  std::vector<std::string> DisplayedLines() const override;
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override { checked_ = checked; }
  void SetItems(const std::vector<std::string>& items) override;
  const std::vector<std::string>& Items() const { return items_; }
  int ItemCount() const override { return static_cast<int>(items_.size()); }
  int ItemIndex() const override { return item_index_; }
  void SetItemIndex(int index) override;
  bool ItemSelected(int index) const override;
  void SetItemSelected(int index, bool selected) override;
  void SetMultiSelect(bool multiple) override { multi_select_ = multiple; }
  bool MultiSelect() const { return multi_select_; }
  void SetTopIndex(int index) override { top_index_ = index; }
  int TopIndex() const { return top_index_; }

 private:
  friend class RecordingFormControlFactory;
  bool IsList() const {
    return kind_ == FormControlKind::kComboBox || kind_ == FormControlKind::kListBox;
  }

  FormControlKind kind_;
  RecordingFormControlFactory* factory_;  // not owned; null once the factory is gone
  FormControlEvents events_;
  Rect bounds_;
  bool visible_ = false;
  LogFont font_;
  TColor background_ = 0xFFFFFF;
  std::string text_;
  int max_length_ = 0;
  TextWrap wrap_ = TextWrap::kSoft;
  bool checked_ = false;
  std::vector<std::string> items_;
  std::vector<bool> selected_;
  int item_index_ = -1;
  bool multi_select_ = false;
  int top_index_ = 0;
};

class RecordingFormControlFactory final : public FormControlFactory {
 public:
  RecordingFormControlFactory() = default;
  ~RecordingFormControlFactory() override;
  RecordingFormControlFactory(const RecordingFormControlFactory&) = delete;
  RecordingFormControlFactory& operator=(const RecordingFormControlFactory&) = delete;

  std::unique_ptr<FormControlWindow> CreateControl(FormControlKind kind) override;
  // Every control made and still alive, in the order they were made.
  const std::vector<RecordingFormControl*>& Controls() const { return controls_; }
  RecordingFormControl* Focused() const { return focused_; }
  // The focus leaves every control (the user clicked elsewhere).
  void ClearFocus();

 private:
  friend class RecordingFormControl;
  std::vector<RecordingFormControl*> controls_;
  RecordingFormControl* focused_ = nullptr;
};

}  // namespace tessival::platform
