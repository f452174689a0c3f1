#pragma once
// The document's form controls as Qt widgets on a panel that is never shown, drawn into
// each painted band where the paint placed them, so the picture shows them as the viewer
// does.
#include <QImage>
#include <QWidget>
#include <memory>

#include "layout/section_list.h"
#include "platform/qt/qt_form_controls.h"

namespace tessival::tools {

class RenderedControls {
 public:
  // Must be made before the document is read.
  explicit RenderedControls(layout::TSectionList& doc);
  // Draws the controls the last paint placed (in the band's coordinates).
  void DrawInto(QImage& band) const;

 private:
  layout::TSectionList& doc_;
  QWidget panel_;
  std::unique_ptr<platform::QtFormControlFactory> factory_;
};

}  // namespace tessival::tools
