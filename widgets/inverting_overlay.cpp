#include "widgets/inverting_overlay.h"

#include <QEvent>
#include <QImage>
#include <QPainter>

namespace tessival::widgets {
namespace {

// Exclusive-or with white inverts a pixel, with black leaves it alone.
QImage CheckeredMask(const QRect& rect) {
  QImage mask(rect.size(), QImage::Format_RGB32);
  for (int y = 0; y < mask.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(mask.scanLine(y));
    for (int x = 0; x < mask.width(); ++x) {
      // The pattern is anchored at the window's origin, not the rectangle's, so a moving
      // rectangle keeps the same grain.
      line[x] = InvertingOverlay::CheckeredBit(rect.x() + x, rect.y() + y) ? 0xFFFFFFFFu : 0xFF000000u;
    }
  }
  return mask;
}

}  // namespace

InvertingOverlay::InvertingOverlay(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
  setGeometry(parent->rect());
  parent->installEventFilter(this);
  hide();
}

bool InvertingOverlay::CheckeredBit(int x, int y) {
  const unsigned row = (y & 1) == 0 ? 0x55u : 0xAAu;
  return ((row >> (7 - (x & 7))) & 1u) != 0;
}

void InvertingOverlay::Toggle(const QRect& rect, InvertPattern pattern) {
  const auto same = [&](const Inversion& i) { return i.rect == rect && i.pattern == pattern; };
  const auto found = std::find_if(inversions_.begin(), inversions_.end(), same);
  if (found != inversions_.end()) {
    inversions_.erase(found);
  } else {
    inversions_.push_back({rect, pattern});
  }
  setVisible(!inversions_.empty());
  raise();
  update();
}

void InvertingOverlay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  for (const Inversion& inversion : inversions_) {
    const QRect rect = inversion.rect.intersected(this->rect());
    if (rect.isEmpty()) continue;
    if (inversion.pattern == InvertPattern::kSolid) {
      painter.fillRect(rect, Qt::white);
    } else {
      painter.drawImage(rect.topLeft(), CheckeredMask(rect));
    }
  }
}

bool InvertingOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && event->type() == QEvent::Resize) {
    setGeometry(parentWidget()->rect());
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tessival::widgets
