#pragma once
// An icon in the desktop's notification area that reports mouse actions on it. The main
// window shows it when it minimises and restores itself on a double-click.
#include <QIcon>
#include <QString>
#include <functional>
#include <memory>

#include "app/tray_area.h"

namespace tessival::app {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The keys and buttons held during a mouse action, as a set of bits. A notification icon
// cannot tell them, so the tray icon always reports the empty set.
using TShiftState = unsigned;

class TTaskBarIcon {
 public:
  using TMouseEvent =
      std::function<void(TTaskBarIcon& sender, TMouseButton button, TShiftState shift, int x, int y)>;
  using TMouseMoveEvent = std::function<void(TTaskBarIcon& sender, TShiftState shift, int x, int y)>;

  // The tip field holds this many characters at most; longer text is cut.
  static constexpr int kMaxTipLength = 63;
  // The message the icon's mouse actions arrive as.
  static constexpr platform::UINT kCallbackMessage = platform::WM_USER;

  explicit TTaskBarIcon(std::unique_ptr<TrayArea> area = MakeDesktopTrayArea());
  ~TTaskBarIcon();
  TTaskBarIcon(const TTaskBarIcon&) = delete;
  TTaskBarIcon& operator=(const TTaskBarIcon&) = delete;

  const QIcon& Icon() const { return icon_; }
  // The menu a right click on the icon opens (not owned).
  void SetMenu(QMenu* menu) { area_->SetMenu(menu); }
  QMenu* Menu() const { return area_->Menu(); }
  void SetIcon(const QIcon& icon);
  const QString& Tip() const { return tip_; }
  void SetTip(const QString& tip);
  bool Visible() const { return visible_; }
  // True adds the icon, if there is one to show and a notification area takes it.
  void SetVisible(bool visible);

  TMouseEvent OnDown;
  TMouseEvent OnUp;
  TMouseEvent OnDblClick;
  TMouseMoveEvent OnMouseMove;

  // The icon window's procedure: kCallbackMessage carries the icon identifier in wparam
  // and the mouse message in lparam. Returns false for what it does not handle.
  bool HandleMessage(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);

 private:
  void HandleMouse(platform::UINT mouse_message);

  std::unique_ptr<TrayArea> area_;
  QIcon icon_;
  QString tip_;
  bool visible_ = false;
};

}  // namespace tessival::app
