#pragma once
// Push buttons (submit, reset, plain), check boxes, radio buttons and image inputs.
#include "layout/form_control_obj.h"

namespace tessival::layout {

class TImageObj;

enum TButtonKind : int { bkSubmit = 0, bkReset = 1, bkButton = 2 };

class TButtonFormControlObj final : public TFormControlObj {
 public:
  TButtonFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                        const html::TAttributeList& attributes, int buttonKind);
  void PrintControl(platform::Canvas& canvas, int x, int y) const override;
  void SetSize(platform::Canvas& canvas) override;
  const std::string& Label() const { return Label_; }

  int ButtonKind;

 protected:
  void Clicked() override;

 private:
  std::string Label_;
};

class TCheckBoxFormControlObj : public TFormControlObj {
 public:
  TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                          const html::TAttributeList& attributes);
  void PrintControl(platform::Canvas& canvas, int x, int y) const override;
  void ResetControl() override;
  bool GetSubmission(int index, std::string& entry) const override;
  void SetData(int index, const std::string& value) override;
  void ClearData() override;
  void SetSize(platform::Canvas& canvas) override;
  bool IsBox() const override { return true; }
  std::string CurrentValue() const override;

  bool InitiallyChecked;

 protected:
  TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                          const html::TAttributeList& attributes, platform::FormControlKind kind);
  bool KeyDown(int key, bool shift) override;
};

class TRadioButtonFormControlObj final : public TCheckBoxFormControlObj {
 public:
  TRadioButtonFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                             const html::TAttributeList& attributes);
  void PrintControl(platform::Canvas& canvas, int x, int y) const override;
  void SetSize(platform::Canvas& canvas) override;

 protected:
  void Clicked() override;
  bool KeyDown(int key, bool shift) override;
};

// An image input: a picture in the text (the section owns it) that submits its form with
// the point it was clicked at.
class TImageFormControlObj final : public TFormControlObj {
 public:
  TImageFormControlObj(TSectionList* document, ThtmlForm* form, int pos,
                       const html::TAttributeList& attributes, TImageObj& image);
  ~TImageFormControlObj() override;
  void ApplyStyle(const html::TProperties& props) override;
  bool GetSubmission(int index, std::string& entry) const override;
  // The document's hit test found the picture at this point of it.
  void SetClickPoint(int x, int y);
  // The picture was clicked (at the point last set): submits the form.
  void ImageClicked();
  TImageObj* Image() const { return Image_; }

  int ClickX = -1;
  int ClickY = -1;

 private:
  TImageObj* Image_;  // the section's
  // The click is forgotten once its y entry has been given.
  mutable bool ClickPending_ = false;
};

}  // namespace tessival::layout
