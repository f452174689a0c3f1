#include "platform/qt/qt_screen_cursor.h"

#include <QCursor>
#include <QGuiApplication>

#include "platform/screen_cursor.h"

namespace tessival::platform {
namespace {

Qt::CursorShape ToShape(TCursor cursor) {
  switch (cursor) {
    case TCursor::crHourGlass: return Qt::WaitCursor;
    case TCursor::crVSplit: return Qt::SplitVCursor;
    case TCursor::crHSplit: return Qt::SplitHCursor;
    case TCursor::crHandPoint: return Qt::PointingHandCursor;
    case TCursor::crIBeam: return Qt::IBeamCursor;
    case TCursor::crDefault: break;
  }
  return Qt::ArrowCursor;
}

}  // namespace

void InstallQtScreenCursor() {
  ScreenCursor::SetBackend([](TCursor cursor) {
    while (QGuiApplication::overrideCursor() != nullptr) QGuiApplication::restoreOverrideCursor();
    if (cursor != TCursor::crDefault) QGuiApplication::setOverrideCursor(QCursor(ToShape(cursor)));
  });
}

}  // namespace tessival::platform
