#include "app/task_bar_icon.h"

#include <QCursor>

namespace tessival::app {
namespace {

// The identifier of the one icon; it also stands where the shift state would be read
// from, so the reported shift state is always empty.
constexpr platform::WPARAM kIconId = 0;

}  // namespace

TTaskBarIcon::TTaskBarIcon(std::unique_ptr<TrayArea> area) : area_(std::move(area)) {
  area_->SetMouseHandler([this](platform::UINT mouse_message) {
    HandleMessage(kCallbackMessage, kIconId, static_cast<platform::LPARAM>(mouse_message));
  });
}

TTaskBarIcon::~TTaskBarIcon() {
  if (visible_) area_->Remove();
  area_->SetMouseHandler(nullptr);
}

void TTaskBarIcon::SetIcon(const QIcon& icon) {
  icon_ = icon;
  if (visible_) area_->Modify(icon_, tip_);
}

void TTaskBarIcon::SetTip(const QString& tip) {
  // The field ends at the first zero character, as a C string would.
  QString text = tip.left(tip.indexOf(QChar(0)));
  if (text.size() > kMaxTipLength) {
    int length = kMaxTipLength;
    if (text.at(length - 1).isHighSurrogate()) --length;  // never half a character
    text.truncate(length);
  }
  tip_ = text;
  if (visible_) area_->Modify(icon_, tip_);
}

void TTaskBarIcon::SetVisible(bool visible) {
  if (visible == visible_) return;
  if (!visible) {
    area_->Remove();
    visible_ = false;
    return;
  }
  if (icon_.isNull()) return;  // nothing to show: it stays invisible
  visible_ = area_->Add(icon_, tip_);
}

bool TTaskBarIcon::HandleMessage(platform::UINT message, platform::WPARAM, platform::LPARAM lparam) {
  if (message != kCallbackMessage) return false;
  const auto mouse_message = static_cast<platform::UINT>(lparam);
  if (mouse_message < WM_MOUSEMOVE || mouse_message > WM_MBUTTONDBLCLK) return false;
  HandleMouse(mouse_message);
  return true;
}

void TTaskBarIcon::HandleMouse(platform::UINT mouse_message) {
  const QPoint at = QCursor::pos();
  const TShiftState shift = 0;
  if (mouse_message == WM_MOUSEMOVE) {
    if (OnMouseMove) OnMouseMove(*this, shift, at.x(), at.y());
    return;
  }
  // Three messages per button, in the order down, up, double-click.
  const unsigned offset = mouse_message - WM_LBUTTONDOWN;
  static constexpr TMouseButton kButtons[] = {mbLeft, mbRight, mbMiddle};
  const TMouseButton button = kButtons[offset / 3];
  const TMouseEvent* events[] = {&OnDown, &OnUp, &OnDblClick};
  const TMouseEvent& event = *events[offset % 3];
  if (event) event(*this, button, shift, at.x(), at.y());
}

}  // namespace tessival::app
