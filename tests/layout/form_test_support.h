#pragma once
// Documents with forms read through the recording controls, with every submission the
// document hands to its host kept for the test.
#include <string>
#include <vector>

#include "layout/form_control_obj.h"
#include "layout/html_form.h"
#include "platform/recording_form_controls.h"
#include "tag_reader_support.h"

namespace tessival::layout::testing {

struct Submission {
  std::string Action, Target, EncType, Method;
  std::vector<std::string> Results;
};

class FormTest : public TagReaderTest {
 protected:
  // The controls call back into the fixture while the document goes.
  void TearDown() override { Doc.reset(); }

  void ReadForms(std::string_view html) {
    MakeDocument();
    Doc->FormHost.Factory = &Controls;
    Doc->FormHost.OnFormSubmit = [this](const std::string& action, const std::string& target,
                                        const std::string& encType, const std::string& method,
                                        std::vector<std::string> results) {
      Submitted.push_back({action, target, encType, method, std::move(results)});
    };
    ParseDocument("<body marginwidth=0 marginheight=0>" + std::string(html), *Doc);
  }

  // The recording window of the document's n-th control (in reading order).
  platform::RecordingFormControl& Window(std::size_t n) {
    return static_cast<platform::RecordingFormControl&>(*Doc->FormControlList.at(n)->GetControl());
  }
  TFormControlObj& Control(std::size_t n) { return *Doc->FormControlList.at(n); }

  void Paint(int yOffset, int height = 100) {
    platform::TestCanvas canvas(400, height);
    Doc->SetYOffset(yOffset);
    Doc->Paint(canvas, platform::Rect{0, 0, 400, height}, 0);
  }

  const std::vector<std::string>& LastResults() const { return Submitted.back().Results; }

  platform::RecordingFormControlFactory Controls;
  std::vector<Submission> Submitted;
};

}  // namespace tessival::layout::testing
