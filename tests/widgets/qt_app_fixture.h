#pragma once
// The one QApplication a GUI test executable needs, created on first use; every Qt test
// executable (platform_qt, widgets, app) gets it here. Tests of several files share it:
// an application that already exists is reused.
#include <QApplication>
#include <cstdlib>

namespace tessival::testing {

inline QApplication& EnsureQtApplication() {
  if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    return *existing;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", /*overwrite=*/0);
  static int argc = 1;
  static char name[] = "tessival-tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: at exit Qt's own statics (the pointing devices the tests' mouse
  // events create) may already be gone, and an application destroyed after them crashes.
  static QApplication* const application = new QApplication(argc, argv);
  return *application;
}

}  // namespace tessival::testing
