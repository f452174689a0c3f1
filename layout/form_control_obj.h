#pragma once
// TFormControlObj: an INPUT, SELECT or TEXTAREA of a form. It wraps a native control on
// the viewer's paint panel (made with its top far above the panel, out of sight until the
// first paint), sizes it before every layout, is moved into place whenever its text section
// paints, and gives the form its name=value entries.
//
// In its section a control stands as one object character with a TFormControlSlot in the
// section's objects: line breaking, line heights and painting treat it like an inline
// picture of the control's size, while the form owns the control itself.
#include <memory>
#include <string>

#include "html/attribute_list.h"
#include "html/id_name_list.h"
#include "html/properties.h"
#include "layout/floating_obj.h"
#include "platform/canvas.h"
#include "platform/form_controls.h"

namespace tessival::layout {

class TSectionList;
class ThtmlForm;
class TCellBasic;

// Where a control stands against its line (the "vertical-align" property overrides).
enum TControlVAlign : int { vaTop = 1, vaMiddle = 2, vaBaseline = 3, vaBottom = 4 };

// Controls out of sight are kept here: far left while a control of the page has the focus
// (so it keeps it), and above the panel when first made.
constexpr int ParkedControlX = -4000;
constexpr int NewControlTop = -400;

class TFormControlObj : public html::TIDObject {
 public:
  TFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                  const html::TAttributeList& attributes);
  ~TFormControlObj() override;
  TFormControlObj(const TFormControlObj&) = delete;
  TFormControlObj& operator=(const TFormControlObj&) = delete;

  int YPosition() const override { return AnchorTop; }

  // The native control (null for hidden and image inputs).
  platform::FormControlWindow* GetControl() const { return Control_.get(); }
  // Fires the change event when the value differs from the one saved at focus time.
  void CheckChange();
  void SaveValue() { SavedValue_ = CurrentValue(); }
  // Spaces, size and vertical alignment from the element's style.
  virtual void ApplyStyle(const html::TProperties& props);
  // Draws the control on a canvas that has no windows (a printer).
  virtual void PrintControl(platform::Canvas& canvas, int x, int y) const;
  virtual void ResetControl() {}
  // The entry at `index`: false when there are no more; an empty entry is skipped.
  virtual bool GetSubmission(int index, std::string& entry) const;
  // Restores the `index`th value stored under this control's name.
  virtual void SetData(int index, const std::string& value);
  virtual void ClearData() {}
  // Works out the window's size before layout.
  virtual void SetSize(platform::Canvas& canvas);
  // Hidden inputs have no window and no place in the text.
  virtual bool IsHidden() const { return false; }
  // Check boxes and radio buttons: a focus rectangle is drawn around them.
  virtual bool IsBox() const { return false; }
  // The value compared for change detection.
  virtual std::string CurrentValue() const;

  // --- placing (the section's paint) ----------------------------------------------------
  int Width() const { return Width_; }
  int Height() const { return Height_; }
  // Moves the window to (x, top) in window coordinates and shows it.
  void Place(platform::Canvas& canvas, int x, int top);
  // Out of sight: parked far left (keeping the focus) or hidden.
  void Park();
  void Hide();

  TSectionList* Document;  // not owned
  ThtmlForm* Form;         // not owned
  int Pos;                 // offset of its character in the section
  std::string Value, Name, Id;
  std::string OnClickText, OnFocusText, OnBlurText, OnChangeText;
  int VAlign = vaBottom;
  int HSpaceLeft = 0;
  int HSpaceRight = 0;
  int SpecWidth = -1;  // from the style, when above 0
  int SpecHeight = -1;
  bool Shown = false;   // placed in the current paint pass
  bool Active = false;  // has the focus
  int AnchorTop = 0;
  TCellBasic* OwnerCell = nullptr;  // for a radio button's background
  platform::LogFont Font;

 protected:
  // Makes the window, out of sight, and wires its events.
  void CreateWindow(platform::FormControlKind kind);
  void SetWindowSize(int width, int height);
  // Text measures in the control's font.
  int TextWidth(platform::Canvas& canvas, const std::string& text) const;
  int TextHeight(platform::Canvas& canvas) const;
  // A click on the window: the object-click event, then what the kind does.
  virtual void Clicked();
  // A key in the window; true when it was used.
  virtual bool KeyDown(int key, bool shift);
  void FireClick();

  std::unique_ptr<platform::FormControlWindow> Control_;

 private:
  void Entered();
  void Exited();

  int Width_ = 120;
  int Height_ = 20;
  std::string SavedValue_;
};

// The control's stand-in among its section's inline objects.
class TFormControlSlot final : public TFloatingObj {
 public:
  explicit TFormControlSlot(TFormControlObj& control);
  void ApplyStyle(const html::TProperties& props) override;
  void Size(platform::Canvas& canvas, int availWidth, const TFontObj* run) override;
  void Paint(platform::Canvas& canvas, int x, const TFontObj* run, int baseline, int lineTop) override;
  // A printing copy's slot draws the same control (the copy lives within the original).
  std::unique_ptr<TFloatingObj> Clone(TSectionList* document) const override;
  TFormControlObj& Control() const { return *Control_; }

 private:
  TFormControlObj* Control_;              // the form owns it
  TSectionList* CopyDocument_ = nullptr;  // set on a printing copy's slot
};

}  // namespace tessival::layout
