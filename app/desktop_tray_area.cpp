#include <QSystemTrayIcon>

#include "app/tray_area.h"

namespace tessival::app {
namespace {

// Qt reports whole actions rather than button transitions; each becomes the messages a
// notification icon would have sent for it. Mouse moves over the icon are not reported
// by any desktop tray, so no move message is ever produced.
std::vector<platform::UINT> MessagesFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger: return {WM_LBUTTONDOWN, WM_LBUTTONUP};
    case QSystemTrayIcon::DoubleClick: return {WM_LBUTTONDBLCLK, WM_LBUTTONUP};
    case QSystemTrayIcon::Context: return {WM_RBUTTONDOWN, WM_RBUTTONUP};
    case QSystemTrayIcon::MiddleClick: return {WM_MBUTTONDOWN, WM_MBUTTONUP};
    case QSystemTrayIcon::Unknown: break;
  }
  return {};
}

class DesktopTrayArea : public TrayArea {
 public:
  DesktopTrayArea() {
    QObject::connect(&icon_, &QSystemTrayIcon::activated,
                     [this](QSystemTrayIcon::ActivationReason reason) {
                       for (platform::UINT message : MessagesFor(reason)) ReportMouse(message);
                     });
  }

  bool Add(const QIcon& icon, const QString& tip) override {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return false;
    Modify(icon, tip);
    icon_.show();
    return icon_.isVisible();
  }

  void Modify(const QIcon& icon, const QString& tip) override {
    icon_.setIcon(icon);
    icon_.setToolTip(tip);
  }

  void Remove() override { icon_.hide(); }

  void SetMenu(QMenu* menu) override {
    TrayArea::SetMenu(menu);
    icon_.setContextMenu(menu);
  }

 private:
  QSystemTrayIcon icon_;
};

}  // namespace

std::unique_ptr<TrayArea> MakeDesktopTrayArea() { return std::make_unique<DesktopTrayArea>(); }

}  // namespace tessival::app
