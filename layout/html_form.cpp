#include "layout/html_form.h"

#include <algorithm>

#include "html/text_util.h"
#include "layout/form_buttons.h"
#include "layout/form_control_obj.h"
#include "layout/section_list.h"

namespace tessival::layout {

namespace {
// METHOD is kept to the four characters a method name has.
constexpr std::size_t kMaxMethodLength = 4;
}  // namespace

ThtmlForm::ThtmlForm(TSectionList* document, const html::TAttributeList* attributes)
    : Document(document) {
  if (!attributes) return;
  for (std::size_t i = 0; i < attributes->Count(); ++i) {
    const html::TAttribute& attribute = (*attributes)[i];
    switch (attribute.Symbol) {
      case html::MethodSy: Method = attribute.StrValue.substr(0, kMaxMethodLength); break;
      case html::ActionSy: Action = attribute.StrValue; break;
      case html::TargetSy: Target = attribute.StrValue; break;
      case html::EncTypeSy: EncType = attribute.StrValue; break;
      default: break;
    }
  }
}

ThtmlForm::~ThtmlForm() = default;

TFormControlObj& ThtmlForm::AddControl(std::unique_ptr<TFormControlObj> control) {
  if (!control->IsHidden()) ++NonHiddenCount;
  ControlList.push_back(std::move(control));
  return *ControlList.back();
}

std::vector<std::string> ThtmlForm::Entries() const {
  std::vector<std::string> entries;
  for (const auto& control : ControlList) {
    std::string entry;
    for (int index = 0; control->GetSubmission(index, entry); ++index) {
      if (!entry.empty()) entries.push_back(entry);
      entry.clear();
    }
  }
  return entries;
}

void ThtmlForm::Submit(const std::string& extra) {
  if (!Document || !Document->FormHost.OnFormSubmit) return;
  std::vector<std::string> results = Entries();
  if (!extra.empty()) results.push_back(extra);
  Document->FormHost.OnFormSubmit(Action, Target, EncType, Method, std::move(results));
}

void ThtmlForm::ResetControls() {
  for (const auto& control : ControlList) control->ResetControl();
}

std::vector<TRadioButtonFormControlObj*> ThtmlForm::RadioGroupOf(const TFormControlObj& control) const {
  std::vector<TRadioButtonFormControlObj*> group;
  for (const auto& other : ControlList) {
    auto* radio = dynamic_cast<TRadioButtonFormControlObj*>(other.get());
    if (radio && html::EqualsNoCase(radio->Name, control.Name)) group.push_back(radio);
  }
  return group;
}

void ThtmlForm::RadioClicked(TRadioButtonFormControlObj& radio) {
  for (TRadioButtonFormControlObj* other : RadioGroupOf(radio)) {
    if (other == &radio || !other->GetControl()) continue;
    other->GetControl()->SetChecked(false);
    other->CheckChange();
  }
}

bool ThtmlForm::ControlKeyDown(TFormControlObj& control, int key) {
  int step = 0;
  if (key == platform::kKeyLeft || key == platform::kKeyUp) step = -1;
  if (key == platform::kKeyRight || key == platform::kKeyDown) step = 1;
  if (step == 0) return false;
  const std::vector<TRadioButtonFormControlObj*> group = RadioGroupOf(control);
  const auto at = std::find(group.begin(), group.end(), &control);
  if (at == group.end()) return false;
  const auto index = (at - group.begin()) + step;
  if (index >= 0 && index < static_cast<long>(group.size()) &&
      group[static_cast<std::size_t>(index)]->GetControl())
    group[static_cast<std::size_t>(index)]->GetControl()->SetFocus();
  return true;  // at the ends of the group the focus stays
}

bool ThtmlForm::EditKeyPress(TFormControlObj& control, int key) {
  (void)control;
  if (key != platform::kKeyReturn) return false;
  Submit();
  return true;
}

std::vector<std::string> ThtmlForm::GetFormData() const { return Entries(); }

void ThtmlForm::SetFormData(const std::vector<std::string>& data) {
  for (const auto& control : ControlList) control->ClearData();
  for (const auto& control : ControlList) {
    int index = 0;
    for (const std::string& entry : data) {
      const std::size_t equals = entry.find('=');
      if (equals == std::string::npos) continue;
      if (!html::EqualsNoCase(std::string_view(entry).substr(0, equals), control->Name)) continue;
      control->SetData(index++, entry.substr(equals + 1));
    }
  }
}

void ThtmlForm::SizeControls(platform::Canvas& canvas) {
  for (const auto& control : ControlList) control->SetSize(canvas);
}

}  // namespace tessival::layout
