#pragma once
// Form controls on real Qt widgets, children of the widget the viewer paints documents on:
// QLineEdit (text and password), QCheckBox, QRadioButton, QPushButton, QComboBox,
// QListWidget and QPlainTextEdit.
#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "platform/form_controls.h"

namespace tessival::platform {

class QtFormControl final : public QObject, public FormControlWindow {
 public:
  QtFormControl(FormControlKind kind, QWidget* parent);
  ~QtFormControl() override;
  QtFormControl(const QtFormControl&) = delete;
  QtFormControl& operator=(const QtFormControl&) = delete;

  // The widget (null once its parent has gone).
  QWidget* Widget() const { return widget_; }
  FormControlKind Kind() const { return kind_; }

  void SetBounds(int x, int y, int width, int height) override;
  Rect Bounds() const override;
  void SetVisible(bool visible) override;
  bool Visible() const override;
  void SetFocus() override;
  bool Focused() const override;
  void SetFont(const LogFont& font) override;
  void SetBackground(TColor color) override;
  void SetEvents(FormControlEvents events) override { events_ = std::move(events); }
  int FrameWidth() const override;
  int ScrollBarWidth() const override;
  int NaturalHeight() const override;
  std::string Text() const override;
  void SetText(const std::string& text) override;
  void SetMaxLength(int length) override;
  void SetWrap(TextWrap wrap) override;
  std::vector<std::string> DisplayedLines() const override;
  bool Checked() const override;
  void SetChecked(bool checked) override;
  void SetItems(const std::vector<std::string>& items) override;
  int ItemCount() const override;
  int ItemIndex() const override;
  void SetItemIndex(int index) override;
  bool ItemSelected(int index) const override;
  void SetItemSelected(int index, bool selected) override;
  void SetMultiSelect(bool multiple) override;
  void SetTopIndex(int index) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Click() const;
  // Hands a key the control does not use to the widget it sits on; true when handed on.
  bool PassKeyToSurface(QKeyEvent& key) const;

  FormControlKind kind_;
  QPointer<QWidget> widget_;
  FormControlEvents events_;
  TColor background_ = 0xFFFFFF;
};

class QtFormControlFactory final : public FormControlFactory {
 public:
  explicit QtFormControlFactory(QWidget* parent) : parent_(parent) {}
  std::unique_ptr<FormControlWindow> CreateControl(FormControlKind kind) override {
    return std::make_unique<QtFormControl>(kind, parent_);
  }

 private:
  QWidget* parent_;
};

}  // namespace tessival::platform
