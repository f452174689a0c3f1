#pragma once
// ThtmlForm: a FORM of the document. It owns its controls in the order they were read,
// collects their name=value entries when it is submitted and hands them, unencoded, to the
// host with the form's ACTION, TARGET, ENCTYPE and METHOD; it resets them, keeps radio
// buttons of one name apart from each other, and saves and restores their values for the
// viewer's history.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "html/attribute_list.h"
#include "platform/canvas.h"
#include "platform/form_controls.h"

namespace tessival::layout {

class TSectionList;
class TFormControlObj;
class TRadioButtonFormControlObj;

// What the host does with forms; each may be left empty.
struct TFormHost {
  // Makes the native controls (none: controls that only remember their state).
  platform::FormControlFactory* Factory = nullptr;  // not owned
  // A form was submitted; no handler: submitting does nothing.
  std::function<void(const std::string& action, const std::string& target, const std::string& encType,
                     const std::string& method, std::vector<std::string> results)>
      OnFormSubmit;
  // A control at document y took the focus.
  std::function<void(int y)> OnControlIntoView;
  // The object events; `attribute` is the element's ONCLICK, ONFOCUS, ONBLUR or ONCHANGE.
  std::function<void(TFormControlObj& control, const std::string& attribute)> OnObjectClick;
  std::function<void(TFormControlObj& control, const std::string& attribute)> OnObjectFocus;
  std::function<void(TFormControlObj& control, const std::string& attribute)> OnObjectBlur;
  std::function<void(TFormControlObj& control, const std::string& attribute)> OnObjectChange;
};

class ThtmlForm {
 public:
  // Reads METHOD, ACTION, TARGET and ENCTYPE; `attributes` may be null (a control outside
  // any FORM gets a form of its own).
  ThtmlForm(TSectionList* document, const html::TAttributeList* attributes);
  ~ThtmlForm();
  ThtmlForm(const ThtmlForm&) = delete;
  ThtmlForm& operator=(const ThtmlForm&) = delete;

  TFormControlObj& AddControl(std::unique_ptr<TFormControlObj> control);
  // Collects the entries and hands them to the host; `extra` (a submit button's own
  // entry) comes last when not empty.
  void Submit(const std::string& extra = {});
  void ResetControls();
  // Unchecks the other radio buttons of the same name.
  void RadioClicked(TRadioButtonFormControlObj& radio);
  // Arrow keys move the focus within a radio button's group; true when the key was used.
  bool ControlKeyDown(TFormControlObj& control, int key);
  // Enter in a single-line edit submits; true when the key was used.
  bool EditKeyPress(TFormControlObj& control, int key);
  // Every submission entry of every control, for the history.
  std::vector<std::string> GetFormData() const;
  void SetFormData(const std::vector<std::string>& data);
  void SizeControls(platform::Canvas& canvas);

  TSectionList* Document;  // not owned
  std::string Method = "Get";
  std::string Action;
  std::string Target;
  std::string EncType;
  std::vector<std::unique_ptr<TFormControlObj>> ControlList;
  int NonHiddenCount = 0;

 private:
  std::vector<std::string> Entries() const;
  std::vector<TRadioButtonFormControlObj*> RadioGroupOf(const TFormControlObj& control) const;
};

}  // namespace tessival::layout
