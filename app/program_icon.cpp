#include "app/program_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tessival::app {
namespace {

// The picture of the installed icon (packaging/tessival.svg) on its 48-unit canvas. The T
// is a path, not a letter: drawing text would load a font file that nothing else uses.
constexpr double kCanvas = 48.0;
constexpr double kCornerRadius = 8.0;
const QColor kBlue(0x00, 0x46, 0x8C);
const QColor kCream(0xFF, 0xFE, 0xE6);

QPainterPath LetterT() {
  QPainterPath path;
  path.moveTo(11, 10);
  path.lineTo(37, 10);
  path.lineTo(37, 17);
  path.lineTo(28, 17);
  path.lineTo(28, 39);
  path.lineTo(20, 39);
  path.lineTo(20, 17);
  path.lineTo(11, 17);
  path.closeSubpath();
  return path;
}

QPixmap IconPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kCanvas, size / kCanvas);
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBlue);
  painter.drawRoundedRect(QRectF(0, 0, kCanvas, kCanvas), kCornerRadius, kCornerRadius);
  painter.setBrush(kCream);
  painter.drawPath(LetterT());
  return pixmap;
}

}  // namespace

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48}) icon.addPixmap(IconPixmap(size));
  return icon;
}

}  // namespace tessival::app
