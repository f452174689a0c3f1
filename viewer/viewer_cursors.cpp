#include "viewer/viewer_cursors.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace tessival::viewer {

namespace {

constexpr int kCursorSide = 32;
constexpr int kCentre = kCursorSide / 2;

enum class Arrows { kUp = 1, kDown = 2, kBoth = 3 };

// The scroll cursors: a dot with one arrow head above, below or both, black with a white
// outline so they show on any page.
QCursor ScrollCursor(Arrows arrows) {
  QPixmap pixmap(kCursorSide, kCursorSide);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(Qt::white, 1));
  painter.setBrush(Qt::black);
  painter.drawEllipse(QPoint(kCentre, kCentre), 3, 3);
  const auto bits = static_cast<int>(arrows);
  if (bits & static_cast<int>(Arrows::kUp)) {
    painter.drawPolygon(
        QPolygon({QPoint(kCentre, 2), QPoint(kCentre - 7, 10), QPoint(kCentre + 7, 10)}));
  }
  if (bits & static_cast<int>(Arrows::kDown)) {
    painter.drawPolygon(
        QPolygon({QPoint(kCentre, kCursorSide - 3), QPoint(kCentre - 7, kCursorSide - 11),
                  QPoint(kCentre + 7, kCursorSide - 11)}));
  }
  painter.end();
  return QCursor(pixmap, kCentre, kCentre);
}

}  // namespace

QCursor CursorOf(TViewerCursor cursor) {
  switch (cursor) {
    case crLinkCursor: return QCursor(Qt::PointingHandCursor);
    case crTextCursor: return QCursor(Qt::IBeamCursor);
    case crUpDownCursor: return ScrollCursor(Arrows::kBoth);
    case crUpOnlyCursor: return ScrollCursor(Arrows::kUp);
    case crDownOnlyCursor: return ScrollCursor(Arrows::kDown);
    case crArrow: break;
  }
  return QCursor(Qt::ArrowCursor);
}

}  // namespace tessival::viewer
