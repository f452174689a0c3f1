// The document's side of forms: their data for the history, sizing their controls before
// layout, and keeping controls that scrolled away out of sight.
#include "layout/form_control_obj.h"
#include "layout/section_list.h"

namespace tessival::layout {

TFormData TSectionList::GetFormData() const {
  TFormData data;
  data.reserve(FormList.size());
  for (const auto& form : FormList) data.push_back(form->GetFormData());
  return data;
}

void TSectionList::SetFormData(const TFormData& data) {
  // The saved data may belong to an older state of the page: forms beyond it stay as
  // they are, and a form that cannot take its data ends the restoring.
  const std::size_t count = std::min(data.size(), FormList.size());
  try {
    for (std::size_t i = 0; i < count; ++i) FormList[i]->SetFormData(data[i]);
  } catch (const std::exception&) {
  }
}

void TSectionList::SizeFormControls(platform::Canvas& canvas) {
  for (const auto& form : FormList) form->SizeControls(canvas);
}

void TSectionList::HideOrParkControls() {
  bool focusInDocument = false;
  for (const TFormControlObj* control : FormControlList)
    if (control->GetControl() && control->GetControl()->Focused()) focusInDocument = true;
  for (TFormControlObj* control : FormControlList) {
    if (control->Shown) continue;
    if (focusInDocument) control->Park();
    else control->Hide();
  }
}

void TSectionList::HideAllControls() {
  for (TFormControlObj* control : FormControlList) control->Hide();
}

}  // namespace tessival::layout
