#pragma once
// GUI tests need one QApplication for the whole test program; it is made on first use.
#include <QApplication>

namespace tessival::app {

inline void EnsureQtApplication() {
  if (QApplication::instance() != nullptr) return;
  static int argc = 1;
  static char name[] = "app_tests";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
}

}  // namespace tessival::app
