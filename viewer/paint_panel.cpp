#include "viewer/paint_panel.h"

#include <QDropEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <exception>

#include "viewer/page_viewer.h"

namespace tessival::viewer {

TPaintPanel::TPaintPanel(TPageViewer& viewer, QWidget* parent) : QWidget(parent), viewer_(viewer) {
  // Every pixel is painted from the memory picture: no erase first, which would flicker.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  // The viewer decides, by its drag handlers, whether anything may be dropped.
  setAcceptDrops(true);
}

void TPaintPanel::paintEvent(QPaintEvent* event) {
  last_painted_ = event->region();
  ++paint_count_;
  QPainter painter(this);
  // An exception must not cross Qt's event loop; the viewer reports it as the program's
  // error box would.
  try {
    for (const QRect& rect : event->region()) viewer_.DrawPanel(painter, rect);
  } catch (const std::exception& error) {
    viewer_.PanelPaintFailed(error);
  }
}

void TPaintPanel::mousePressEvent(QMouseEvent* event) {
  viewer_.PanelMouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void TPaintPanel::mouseMoveEvent(QMouseEvent* event) {
  viewer_.PanelMouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void TPaintPanel::mouseReleaseEvent(QMouseEvent* event) {
  viewer_.PanelMouseUp(event->button(), event->modifiers(), event->position().toPoint());
}

void TPaintPanel::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    viewer_.PanelDoubleClick(event->modifiers(), event->position().toPoint());
  } else {
    mousePressEvent(event);
  }
}

void TPaintPanel::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  viewer_.PanelEntered(true);
}

void TPaintPanel::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  viewer_.PanelEntered(false);
}

namespace {

TDragSource SourceOf(const QDropEvent& event) { return TDragSource{event.source(), event.mimeData()}; }

void Answer(QDropEvent& event, bool accept) {
  if (accept) {
    event.acceptProposedAction();
  } else {
    event.ignore();
  }
}

}  // namespace

void TPaintPanel::dragEnterEvent(QDragEnterEvent* event) {
  Answer(*event, viewer_.PanelDragOver(SourceOf(*event), event->position().toPoint(), dsDragEnter));
}

void TPaintPanel::dragMoveEvent(QDragMoveEvent* event) {
  Answer(*event, viewer_.PanelDragOver(SourceOf(*event), event->position().toPoint(), dsDragMove));
}

void TPaintPanel::dragLeaveEvent(QDragLeaveEvent* event) {
  QWidget::dragLeaveEvent(event);
  viewer_.PanelDragLeave();
}

void TPaintPanel::dropEvent(QDropEvent* event) {
  Answer(*event, viewer_.PanelDragDrop(SourceOf(*event), event->position().toPoint()));
}

}  // namespace tessival::viewer
