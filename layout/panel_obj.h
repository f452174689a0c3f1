#pragma once
// TPanelObj: a PANEL element, a window on the viewer's paint panel that the host fills
// (through the panel-create event). The document sizes it like a picture (WIDTH, HEIGHT,
// RATIO), moves it to its place in the text when painting, hides it when it scrolled out,
// and prints it through the host or as a box with the ALT text.
#include <functional>
#include <memory>
#include <string>

#include "layout/floating_obj.h"
#include "platform/bitmap.h"
#include "platform/panel_window.h"

namespace tessival::layout {

class TSectionList;

// What the host does with panels; each may be left empty.
struct TPanelHost {
  platform::PanelWindowFactory* Factory = nullptr;  // not owned; none: panels are not shown
  std::function<void(const std::string& name, const std::string& type, const std::string& src,
                     platform::PanelWindow& panel)>
      OnPanelCreate;
  std::function<void(platform::PanelWindow& panel)> OnPanelDestroy;
  std::function<void(platform::PanelWindow& panel, platform::TBitmap& bitmap)> OnPanelPrint;
};

class TPanelObj : public TFloatingObj {
 public:
  TPanelObj(TSectionList* document, int pos, const html::TAttributeList& attributes);
  ~TPanelObj() override;
  TPanelObj(const TPanelObj&) = delete;
  TPanelObj& operator=(const TPanelObj&) = delete;

  bool IsPanel() const override { return true; }
  void Size(platform::Canvas& canvas, int availWidth, const TFontObj* run) override;
  void Paint(platform::Canvas& canvas, int x, const TFontObj* run, int baseline, int lineTop) override;
  // A printing copy gets a panel of its own that is never shown.
  std::unique_ptr<TFloatingObj> Clone(TSectionList* document) const override;

  platform::PanelWindow& Panel() { return *Panel_; }
  TSectionList* Document;  // not owned
  double Ratio = 0;        // height = Ratio x width when above 0
  std::string Name;
  std::string Source;
  std::string Type;
  bool Shown = false;  // placed in the last paint pass

 private:
  TPanelObj(TSectionList* document, const TPanelObj& other);
  void PrintPanel(platform::Canvas& canvas, int x, int y);

  std::unique_ptr<platform::PanelWindow> Panel_;
  int SpecHeight_ = -1;
};

}  // namespace tessival::layout
