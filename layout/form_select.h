#pragma once
// SELECT elements: a list box (MULTIPLE, or SIZE above 1) or a drop-down list.
#include <string>
#include <vector>

#include "layout/form_control_obj.h"

namespace tessival::layout {

struct TOptionObj {
  std::string Text;  // the caption shown
  std::string Value;
  bool Selected = false;  // SELECTED
};

class TListBoxFormControlObj : public TFormControlObj {
 public:
  TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                         const html::TAttributeList& attributes);

  void AddOption(const std::string& caption, const std::string& value, bool selected);
  // Every option is in: the window is filled.
  void AddOptionsDone() { ResetControl(); }
  void PrintControl(platform::Canvas& canvas, int x, int y) const override;
  void ResetControl() override;
  bool GetSubmission(int index, std::string& entry) const override;
  void SetData(int index, const std::string& value) override;
  void SetSize(platform::Canvas& canvas) override;
  std::string CurrentValue() const override;

  std::vector<TOptionObj> Options;
  int Rows = -1;  // SIZE, -1 when not given
  int WidestOption = 3;
  bool Multiple = false;

 protected:
  TListBoxFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                         const html::TAttributeList& attributes, platform::FormControlKind kind);
  void MeasureOptions(platform::Canvas& canvas);
  // The option to show as chosen in a single selection: the last one marked, else the first.
  int InitialItem() const;
};

class TComboFormControlObj final : public TListBoxFormControlObj {
 public:
  TComboFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                       const html::TAttributeList& attributes);

  void PrintControl(platform::Canvas& canvas, int x, int y) const override;
  void ResetControl() override;
  bool GetSubmission(int index, std::string& entry) const override;
  void SetData(int index, const std::string& value) override;
  void SetSize(platform::Canvas& canvas) override;
};

// Whether a SELECT with these attributes is a list box rather than a drop-down list.
bool SelectIsListBox(const html::TAttributeList& attributes);

}  // namespace tessival::layout
