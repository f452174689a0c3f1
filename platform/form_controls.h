#pragma once
// The native controls of a document's forms: edits, buttons, check boxes, radio buttons,
// drop-down lists, list boxes and multi-line edits, each a child window on the viewer's
// paint panel. The document creates, sizes, places, shows and hides them and reads and
// sets their values; what the user does in them comes back as events.
//
// One interface serves every kind, as the window system's controls share one window
// interface: an operation that does not apply to a kind does nothing and reads empty.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/colors.h"
#include "platform/font.h"
#include "platform/geometry.h"

namespace tessival::platform {

enum class FormControlKind {
  kEdit,
  kPassword,
  kCheckBox,
  kRadioButton,
  kButton,
  kComboBox,
  kListBox,
  kTextArea,
};

// Keys the document reacts to, with their virtual-key numbers.
constexpr int kKeyReturn = 13;
constexpr int kKeyLeft = 37;
constexpr int kKeyUp = 38;
constexpr int kKeyRight = 39;
constexpr int kKeyDown = 40;

// How a multi-line edit wraps: not at all (both scroll bars), at the window edge, or at the
// edge with the displayed lines submitted as lines.
enum class TextWrap { kOff, kSoft, kHard };

struct FormControlEvents {
  std::function<void()> OnEnter;  // took the focus
  std::function<void()> OnExit;   // lost it
  std::function<void()> OnClick;  // a button, box or radio was clicked (also by its key)
  // A key went down; true when the handler used it, so the control must not.
  std::function<bool(int key, bool shift)> OnKeyDown;
};

class FormControlWindow {
 public:
  virtual ~FormControlWindow() = default;

  // --- the window --------------------------------------------------------------------
  virtual void SetBounds(int x, int y, int width, int height) = 0;
  virtual Rect Bounds() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  virtual void SetFocus() = 0;
  virtual bool Focused() const = 0;
  virtual void SetFont(const LogFont& font) = 0;
  virtual void SetBackground(TColor color) = 0;
  virtual void SetEvents(FormControlEvents events) = 0;
  // Width of one frame edge around the client area, and of a vertical scroll bar.
  virtual int FrameWidth() const = 0;
  virtual int ScrollBarWidth() const = 0;
  // The height the control wants for its font (edits and drop-down lists).
  virtual int NaturalHeight() const = 0;

  // --- text: edits, multi-line edits, button labels ------------------------------------
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetMaxLength(int length) = 0;
  virtual void SetWrap(TextWrap wrap) = 0;
  // A multi-line edit's lines as the window shows them (wrapped at its width).
  virtual std::vector<std::string> DisplayedLines() const = 0;

  // --- check boxes and radio buttons ---------------------------------------------------
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;

  // --- list boxes and drop-down lists --------------------------------------------------
  virtual void SetItems(const std::vector<std::string>& items) = 0;
  virtual int ItemCount() const = 0;
  virtual int ItemIndex() const = 0;  // the current item, -1 for none
  virtual void SetItemIndex(int index) = 0;
  virtual bool ItemSelected(int index) const = 0;
  virtual void SetItemSelected(int index, bool selected) = 0;
  virtual void SetMultiSelect(bool multiple) = 0;
  virtual void SetTopIndex(int index) = 0;
};

// Made by the viewer for its paint panel.
class FormControlFactory {
 public:
  virtual ~FormControlFactory() = default;
  virtual std::unique_ptr<FormControlWindow> CreateControl(FormControlKind kind) = 0;
};

}  // namespace tessival::platform
