#include <QApplication>

#include "platform/qt/qt_screen_fonts.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tessival::platform::InstallQtScreenFonts();
  return 0;
}
