#include "app/program_icon.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>

#include "tests/widgets/qt_app_fixture.h"

namespace tessival::app {
namespace {

int ChannelDistance(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b)) +
         std::abs(qAlpha(a) - qAlpha(b));
}

// The window shows the same picture the desktop shows for the installed program, at every
// size it draws; edge pixels may differ a little in their antialiasing.
TEST(ProgramIcon, LooksLikeTheInstalledIcon) {
  testing::EnsureQtApplication();
  const QIcon icon = ProgramIcon();
  for (const int size : {16, 32, 48}) {
    SCOPED_TRACE(size);
    const QString installed =
        QStringLiteral(TESSIVAL_SOURCE_DIR "/packaging/icons/%1x%1/apps/tessival.png").arg(size);
    const QImage expected = QImage(installed).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(expected.isNull()) << installed.toStdString();
    const QImage drawn = icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(drawn.size(), expected.size());
    int unlike = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        if (ChannelDistance(drawn.pixel(x, y), expected.pixel(x, y)) > 120) ++unlike;
      }
    }
    EXPECT_LE(unlike, size / 4);
  }
}

}  // namespace
}  // namespace tessival::app
