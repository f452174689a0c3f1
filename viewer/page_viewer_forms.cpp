// The viewer's side of forms: the controls are widgets on the paint panel, a submitted
// form reaches the host after the click or key that submitted it, a focused control is
// scrolled into view, and the object events are passed on.
#include <memory>

#include "layout/form_buttons.h"
#include "platform/qt/qt_form_controls.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"

namespace tessival::viewer {

void TPageViewer::InstallFormControls() {
  form_factory_ = std::make_unique<platform::QtFormControlFactory>(panel_);
  layout::TFormHost& host = document_->FormHost;
  host.Factory = form_factory_.get();
  host.OnFormSubmit = [this](const std::string& action, const std::string& target,
                             const std::string& enc_type, const std::string& method,
                             std::vector<std::string> results) {
    SubmitForm(action, target, enc_type, method, std::move(results));
  };
  host.OnControlIntoView = [this](int y) { FormControlIntoView(y); };
  // Read when they fire, so a host may set them at any time.
  host.OnObjectClick = [this](layout::TFormControlObj& control, const std::string& text) {
    if (OnObjectClick) OnObjectClick(control, text);
  };
  host.OnObjectFocus = [this](layout::TFormControlObj& control, const std::string& text) {
    if (OnObjectFocus) OnObjectFocus(control, text);
  };
  host.OnObjectBlur = [this](layout::TFormControlObj& control, const std::string& text) {
    if (OnObjectBlur) OnObjectBlur(control, text);
  };
  host.OnObjectChange = [this](layout::TFormControlObj& control, const std::string& text) {
    if (OnObjectChange) OnObjectChange(control, text);
  };
}

void TPageViewer::Repaint() {
  document_->HideAllControls();
  panel_->update();
}

void TPageViewer::SetFormData(const layout::TFormData& data) {
  document_->SetFormData(data);
  panel_->update();
}

}  // namespace tessival::viewer
