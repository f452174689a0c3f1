#pragma once
// Minimising the main window to the notification area and bringing it back, with the
// tray icon and the taskbar button kept in step.
class QWidget;

namespace tessival::app {

class TTaskBarIcon;
class TIconHide;

// Shows the tray icon, hides the taskbar button and minimises the window. Where no
// notification area took the icon, the taskbar button stays: it is then the only way
// back to a minimised window.
void MinimizeToTray(QWidget& window, TTaskBarIcon& tray_icon, TIconHide& icon_hide);

// Restores the window, brings it to the front and shows the taskbar button again. The
// tray icon stays.
void RestoreFromTray(QWidget& window, TIconHide& icon_hide);

}  // namespace tessival::app
