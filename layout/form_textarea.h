#pragma once
// TEXTAREA: a multi-line edit whose initial text the tag reader hands over line by line.
#include <string>

#include "layout/form_control_obj.h"

namespace tessival::layout {

class TTextAreaFormControlObj final : public TFormControlObj {
 public:
  TTextAreaFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                          const html::TAttributeList& attributes);

  // A line of the element's text (with its CR LF when one ended it).
  void AddLine(const std::string& line) { InitialText += line; }
  // The element's text is complete: the window shows it.
  void ContentsDone() { ResetControl(); }
  void PrintControl(platform::Canvas& canvas, int x, int y) const override;
  void ResetControl() override;
  bool GetSubmission(int index, std::string& entry) const override;
  void SetData(int index, const std::string& value) override;
  void SetSize(platform::Canvas& canvas) override;

  int Rows = 5;
  int Cols = 30;
  platform::TextWrap Wrap = platform::TextWrap::kSoft;
  std::string InitialText;
};

}  // namespace tessival::layout
