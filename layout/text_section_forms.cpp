// Form controls joining a text section: the control goes to its form, which owns it, and
// to the document's control list; in the text it stands as an object character whose slot
// carries its size and places its window when the line paints. A hidden input has no place
// in the text; an image input stands as its picture.
#include <memory>

#include "html/text_util.h"
#include "layout/form_buttons.h"
#include "layout/form_edit.h"
#include "layout/form_select.h"
#include "layout/form_textarea.h"
#include "layout/html_form.h"
#include "layout/image_obj.h"
#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {

namespace {

enum class InputKind { kEdit, kPassword, kSubmit, kReset, kButton, kRadio, kCheckBox, kHidden, kImage };

// TYPE of an INPUT; unknown and missing types give an edit.
InputKind InputKindOf(const html::TAttributeList& attributes) {
  const html::TAttribute* type = attributes.Find(html::TypeSy);
  if (!type) return InputKind::kEdit;
  const std::string value(html::Trim(type->StrValue));
  static const std::pair<const char*, InputKind> kinds[] = {
      {"password", InputKind::kPassword}, {"submit", InputKind::kSubmit},
      {"reset", InputKind::kReset},       {"button", InputKind::kButton},
      {"radio", InputKind::kRadio},       {"checkbox", InputKind::kCheckBox},
      {"hidden", InputKind::kHidden},     {"image", InputKind::kImage},
  };
  for (const auto& [name, kind] : kinds)
    if (html::EqualsNoCase(value, name)) return kind;
  return InputKind::kEdit;
}

std::unique_ptr<TFormControlObj> MakeInput(InputKind kind, TSectionList* document, ThtmlForm& form,
                                           int pos, const html::TAttributeList& attributes) {
  switch (kind) {
    case InputKind::kPassword:
      return std::make_unique<TEditFormControlObj>(document, &form, pos, attributes, true);
    case InputKind::kSubmit:
      return std::make_unique<TButtonFormControlObj>(document, &form, pos, attributes, bkSubmit);
    case InputKind::kReset:
      return std::make_unique<TButtonFormControlObj>(document, &form, pos, attributes, bkReset);
    case InputKind::kButton:
      return std::make_unique<TButtonFormControlObj>(document, &form, pos, attributes, bkButton);
    case InputKind::kRadio:
      return std::make_unique<TRadioButtonFormControlObj>(document, &form, pos, attributes);
    case InputKind::kCheckBox:
      return std::make_unique<TCheckBoxFormControlObj>(document, &form, pos, attributes);
    case InputKind::kHidden:
      return std::make_unique<THiddenFormControlObj>(document, &form, pos, attributes);
    default: return std::make_unique<TEditFormControlObj>(document, &form, pos, attributes, false);
  }
}

}  // namespace

TFormControlObj& TSection::AddFormControl(html::Symbol tag, ThtmlForm& form,
                                          const html::TAttributeList& attributes, TCellBasic* ownerCell,
                                          std::int32_t sourcePos) {
  const int pos = static_cast<int>(Text_.size());
  std::unique_ptr<TFormControlObj> made;
  const InputKind kind = tag == html::InputSy ? InputKindOf(attributes) : InputKind::kEdit;
  if (tag == html::SelectSy) {
    if (SelectIsListBox(attributes))
      made = std::make_unique<TListBoxFormControlObj>(Document, &form, pos, attributes);
    else made = std::make_unique<TComboFormControlObj>(Document, &form, pos, attributes);
  } else if (tag == html::TextAreaSy) {
    made = std::make_unique<TTextAreaFormControlObj>(Document, &form, pos, attributes);
  } else if (kind == InputKind::kImage) {
    TImageObj& image = AddImage(attributes, ownerCell, sourcePos);
    made = std::make_unique<TImageFormControlObj>(Document, &form, pos, attributes, image);
  } else {
    made = MakeInput(kind, Document, form, pos, attributes);
  }
  made->OwnerCell = ownerCell;
  made->SaveValue();
  TFormControlObj& control = form.AddControl(std::move(made));
  if (Document) Document->FormControlList.push_back(&control);
  if (control.IsHidden() || kind == InputKind::kImage) return control;
  Objects_.push_back(std::make_unique<TFormControlSlot>(control));
  AddChar(InlineObjectChar, sourcePos);
  return control;
}

}  // namespace tessival::layout
