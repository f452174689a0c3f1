#include "app/program_icon.h"

#include <QPainter>
#include <QPixmap>

namespace tessival::app {

QIcon ProgramIcon() {
  QIcon icon;
  for (const int size : {16, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0, 70, 140));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
    painter.setPen(QColor(255, 254, 230));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(size * 3 / 4);
    painter.setFont(font);
    painter.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("T"));
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace tessival::app
