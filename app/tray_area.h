#pragma once
// The desktop's notification area as the tray icon component sees it: add, change and
// remove one icon, and hear of mouse actions on it as window mouse messages. The Qt one
// uses the desktop's tray; tests put a scripted one in its place.
#include <QIcon>
#include <QString>
#include <functional>
#include <memory>

#include "platform/win_types.h"

class QMenu;

namespace tessival::app {

// The mouse messages a notification icon reports, with their classic numbers.
constexpr platform::UINT WM_MOUSEMOVE = 0x0200;
constexpr platform::UINT WM_LBUTTONDOWN = 0x0201;
constexpr platform::UINT WM_LBUTTONUP = 0x0202;
constexpr platform::UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr platform::UINT WM_RBUTTONDOWN = 0x0204;
constexpr platform::UINT WM_RBUTTONUP = 0x0205;
constexpr platform::UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr platform::UINT WM_MBUTTONDOWN = 0x0207;
constexpr platform::UINT WM_MBUTTONUP = 0x0208;
constexpr platform::UINT WM_MBUTTONDBLCLK = 0x0209;

class TrayArea {
 public:
  // Receives the mouse message of an action on the icon.
  using MouseHandler = std::function<void(platform::UINT mouse_message)>;

  virtual ~TrayArea() = default;
  // False when the icon could not be added (no notification area).
  virtual bool Add(const QIcon& icon, const QString& tip) = 0;
  virtual void Modify(const QIcon& icon, const QString& tip) = 0;
  virtual void Remove() = 0;

  void SetMouseHandler(MouseHandler handler) { mouse_handler_ = std::move(handler); }
  // The menu the icon opens on a right click (not owned; it outlives the icon's use).
  virtual void SetMenu(QMenu* menu) { menu_ = menu; }
  QMenu* Menu() const { return menu_; }

 protected:
  void ReportMouse(platform::UINT mouse_message) const {
    if (mouse_handler_) mouse_handler_(mouse_message);
  }

 private:
  MouseHandler mouse_handler_;
  QMenu* menu_ = nullptr;
};

// The desktop's own notification area, through Qt's tray icon.
std::unique_ptr<TrayArea> MakeDesktopTrayArea();

}  // namespace tessival::app
