#include "app/tray_minimizer.h"

#include <QWidget>

#include "app/icon_hide.h"
#include "app/task_bar_icon.h"

namespace tessival::app {

void MinimizeToTray(QWidget& window, TTaskBarIcon& tray_icon, TIconHide& icon_hide) {
  tray_icon.SetVisible(true);
  if (tray_icon.Visible()) icon_hide.SetHidden(true);
  window.setWindowState(window.windowState() | Qt::WindowMinimized);
}

void RestoreFromTray(QWidget& window, TIconHide& icon_hide) {
  window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  window.show();
  window.raise();
  window.activateWindow();
  icon_hide.SetHidden(false);
}

}  // namespace tessival::app
