// Drags over the paint panel go to the viewer's drag handlers with the panel's coordinates.
#include "viewer/page_viewer.h"

namespace tessival::viewer {

bool TPageViewer::PanelDragOver(const TDragSource& source, QPoint point, TDragState state) {
  drag_source_ = source;
  drag_point_ = point;
  // Without a handler to ask, nothing may be dropped here.
  if (!OnDragOver) return false;
  bool accept = true;
  OnDragOver(source, point.x(), point.y(), state, accept);
  return accept;
}

void TPageViewer::PanelDragLeave() {
  if (!drag_source_) return;
  const TDragSource source = *drag_source_;
  drag_source_.reset();
  if (!OnDragOver) return;
  bool accept = false;
  OnDragOver(source, drag_point_.x(), drag_point_.y(), dsDragLeave, accept);
}

bool TPageViewer::PanelDragDrop(const TDragSource& source, QPoint point) {
  drag_source_.reset();
  if (!OnDragDrop) return false;
  OnDragDrop(source, point.x(), point.y());
  return true;
}

}  // namespace tessival::viewer
