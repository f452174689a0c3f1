#pragma once
// Single-line edits (text and password inputs, and inputs of a type nobody knows) and
// hidden inputs.
#include "layout/form_control_obj.h"

namespace tessival::layout {

class TEditFormControlObj final : public TFormControlObj {
 public:
  TEditFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                      const html::TAttributeList& attributes, bool password);

  void PrintControl(platform::Canvas& canvas, int x, int y) const override;
  void ResetControl() override;
  bool GetSubmission(int index, std::string& entry) const override;
  void SetData(int index, const std::string& value) override;
  void SetSize(platform::Canvas& canvas) override;

  int SizeChars = 15;
  int MaxLength = 0;
  bool Password;

 protected:
  bool KeyDown(int key, bool shift) override;
};

// The width in characters SIZE asks for: its number when above 0; a text with a space or
// a comma after its first character gives the number before it (20 when none is there).
int EditSizeChars(const html::TAttribute& size);

class THiddenFormControlObj final : public TFormControlObj {
 public:
  using TFormControlObj::TFormControlObj;
  bool IsHidden() const override { return true; }
  bool GetSubmission(int index, std::string& entry) const override;
};

}  // namespace tessival::layout
