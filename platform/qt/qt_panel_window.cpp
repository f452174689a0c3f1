#include "platform/qt/qt_panel_window.h"

#include <QFrame>
#include <QPalette>

#include "platform/qt/text_convert.h"

namespace tessival::platform {

QtPanelWindow::QtPanelWindow(QWidget* parent) : frame_(new QFrame(parent)) {
  frame_->setFrameStyle(QFrame::Box | QFrame::Plain);
  frame_->setLineWidth(1);
  frame_->setAutoFillBackground(true);
  QPalette palette = frame_->palette();
  palette.setColor(QPalette::Window, Qt::white);
  frame_->setPalette(palette);
}

QtPanelWindow::~QtPanelWindow() {
  // The parent may already have freed the frame with itself.
  delete frame_.data();
}

void QtPanelWindow::SetBounds(int x, int y, int width, int height) {
  if (frame_) frame_->setGeometry(x, y, width, height);
}
int QtPanelWindow::Left() const { return frame_ ? frame_->x() : 0; }
int QtPanelWindow::Top() const { return frame_ ? frame_->y() : 0; }
int QtPanelWindow::Width() const { return frame_ ? frame_->width() : 0; }
int QtPanelWindow::Height() const { return frame_ ? frame_->height() : 0; }
void QtPanelWindow::SetVisible(bool visible) {
  if (frame_) frame_->setVisible(visible);
}
bool QtPanelWindow::Visible() const { return frame_ && frame_->isVisibleTo(frame_->parentWidget()); }

bool QtPanelWindow::SetName(const std::string& name) {
  if (!frame_ || name.empty()) return false;
  frame_->setObjectName(ToQString(name));
  return true;
}

}  // namespace tessival::platform
