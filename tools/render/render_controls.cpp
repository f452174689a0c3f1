#include "tools/render/render_controls.h"

#include <QPainter>

#include "layout/form_control_obj.h"

namespace tessival::tools {

RenderedControls::RenderedControls(layout::TSectionList& doc)
    : doc_(doc), factory_(std::make_unique<platform::QtFormControlFactory>(&panel_)) {
  doc_.FormHost.Factory = factory_.get();
}

void RenderedControls::DrawInto(QImage& band) const {
  QPainter painter(&band);
  for (const layout::TFormControlObj* control : doc_.FormControlList) {
    if (!control->Shown) continue;
    const auto* window = dynamic_cast<const platform::QtFormControl*>(control->GetControl());
    if (!window || !window->Widget()) continue;
    const platform::Rect bounds = window->Bounds();
    window->Widget()->render(&painter, QPoint(bounds.left, bounds.top), QRegion(),
                             QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
}

}  // namespace tessival::tools
