// Arbitrary bytes read as an HTML document, laid out at two widths, painted and asked a few
// hit tests, all on the deterministic test canvas: no crash, no hang, and a document that
// stays within a bound of its text. Every handler a viewer gives the reader is installed,
// a linked style sheet being the input itself, so head elements and scripts run their
// whole way. Form controls are made by the recording controls, which the fuzzer then
// focuses, types into, clicks and submits; their values go through the history's save and
// restore.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <memory>
#include <string>
#include <string_view>

#include "html/url_target.h"
#include "layout/form_buttons.h"
#include "layout/html_form.h"
#include "layout/section_list.h"
#include "platform/recording_form_controls.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

using namespace tessival;

namespace {

constexpr std::size_t MaxInput = 1 << 16;
// Pixels of height per byte of text that a document may not exceed: even one line per byte
// in the largest font stays far below it, and so does a block of three bytes ("<p>") that a
// style sheet gives the largest padding a box value may have (10 000 pixels).
constexpr long MaxHeightPerByte = 4000;

void HitTests(layout::TSectionList& doc, platform::Canvas& canvas, int width, int height) {
  const int ys[] = {0, height / 3, height / 2, height - 1};
  const int xs[] = {0, width / 2, width - 1};
  for (const int y : ys) {
    for (const int x : xs) {
      std::string title;
      layout::TFormControlObj* control = nullptr;
      std::unique_ptr<html::TUrlTarget> target;
      doc.FindLink(canvas, x, title, control, target, y);
      bool inside = false;
      int lineHeight = 0, lineTop = 0, charX = 0;
      doc.PositionAtPoint(canvas, x, y, inside, lineHeight, lineTop, charX);
    }
  }
}

// What a user does to every control of the page, then a reset and the history's round trip.
void UseForms(layout::TSectionList& doc, platform::RecordingFormControlFactory& controls) {
  const std::vector<platform::RecordingFormControl*> made = controls.Controls();
  for (platform::RecordingFormControl* control : made) {
    control->Focus();
    control->Type("ab");
    control->PressKey(platform::kKeyDown);
    control->PressKey(platform::kKeyRight);
    control->ChooseItem(0);
    control->PressKey(platform::kKeyReturn);
    control->Click();
  }
  for (layout::TFormControlObj* control : doc.FormControlList) {
    if (auto* image = dynamic_cast<layout::TImageFormControlObj*>(control)) {
      image->SetClickPoint(1, 2);
      image->ImageClicked();
    }
  }
  controls.ClearFocus();
  const layout::TFormData saved = doc.GetFormData();
  for (const auto& form : doc.FormList) form->ResetControls();
  // Restoring is not always the identity (two controls of one name share their entries),
  // but restoring the same data twice must give the same page.
  doc.SetFormData(saved);
  const layout::TFormData once = doc.GetFormData();
  doc.SetFormData(saved);
  if (doc.GetFormData() != once) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > MaxInput) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::RecordingFormControlFactory controls;  // outlives the document's controls
  layout::TSectionList doc;
  doc.SetFonts(html::TStyleDefaults{}, 0xE6FEFF, false);
  doc.FormHost.Factory = &controls;
  std::size_t submitted = 0;
  doc.FormHost.OnFormSubmit = [&](const std::string&, const std::string&, const std::string&,
                                  const std::string&,
                                  std::vector<std::string> results) { submitted += results.size(); };
  std::size_t script_bytes = 0;
  doc.OnScript = [&](const std::string&, const std::string&, std::unique_ptr<char[]> script) {
    // The buffer must be terminated; strlen would run off its end otherwise.
    script_bytes += std::strlen(script.get());
  };
  layout::TReaderHandlers handlers;
  handlers.OnMeta = [](const std::string&, const std::string&, const std::string&) {};
  handlers.OnLink = [](const std::string&, const std::string&, const std::string&) {};
  handlers.OnSoundRequest = [](const std::string&, int) {};
  int sheets = 0;
  handlers.OnStyleSheet = [&](const std::string&, std::string& sheet, std::string& base) {
    if (++sheets > 4) throw std::runtime_error("no more sheets");
    sheet = std::string(text);
    base = "http://host/dir/";
    return true;
  };
  layout::ParseDocument(text, doc, {}, handlers);
  if (script_bytes > 2 * size + 2) std::abort();

  platform::TestCanvas canvas(200, 200);
  for (const int width : {640, 97}) {
    int pos = 0;
    int maxWidth = 0;
    const int height = doc.Layout(canvas, 0, pos, maxWidth, 200, width);
    if (height < 0 || static_cast<long>(height) > MaxHeightPerByte * static_cast<long>(size + 1) + 1000)
      std::abort();
    doc.SetYOffset(0);
    doc.Paint(canvas, platform::Rect{0, 0, 200, 200}, 0);
    doc.SetYOffset(height / 2);
    doc.Paint(canvas, platform::Rect{0, 0, 200, 200}, 0);
    HitTests(doc, canvas, width, height + 1);
  }
  UseForms(doc, controls);
  doc.SelStart = 0;
  doc.SelEnd = doc.DocumentLength();
  doc.GetSelLength();
  return 0;
}
