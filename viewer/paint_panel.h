#pragma once
// TPaintPanel: the part of the viewer the document is painted on. It hands its paints and
// its mouse to the viewer and keeps nothing of its own except the region it last painted
// (which tells a scroll by pixel copy from a full repaint).
#include <QRegion>
#include <QWidget>

namespace tessival::viewer {

class TPageViewer;

class TPaintPanel : public QWidget {
  Q_OBJECT

 public:
  TPaintPanel(TPageViewer& viewer, QWidget* parent);

  const QRegion& LastPaintedRegion() const { return last_painted_; }
  int PaintCount() const { return paint_count_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  TPageViewer& viewer_;
  QRegion last_painted_;
  int paint_count_ = 0;
};

}  // namespace tessival::viewer
