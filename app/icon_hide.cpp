#include "app/icon_hide.h"

namespace tessival::app {
namespace {

// The program has one taskbar button, so its hidden state is the program's; at start the
// button is shown.
bool& ProgramTaskbarButtonHidden() {
  static bool hidden = false;
  return hidden;
}

}  // namespace

TIconHide::TIconHide(QWidget* window, std::unique_ptr<TaskbarSkipState> skip_state)
    : window_(window), skip_state_(std::move(skip_state)) {}

bool TIconHide::Hidden() const { return ProgramTaskbarButtonHidden(); }

void TIconHide::SetHidden(bool hidden) {
  if (hidden == ProgramTaskbarButtonHidden()) return;
  ProgramTaskbarButtonHidden() = hidden;
  // Without a window or a desktop that knows the state there is nothing to change, and
  // hiding and showing the window would only make it flicker.
  if (window_ == nullptr || !skip_state_->Supported()) return;
  // A window not shown yet gets the state for when it is; it is not shown for that.
  const bool shown = window_->isVisible();
  if (shown) window_->hide();
  skip_state_->SetWhileHidden(*window_, hidden);
  if (!shown) return;
  window_->show();
  skip_state_->RequestWhileShown(*window_, hidden);
}

}  // namespace tessival::app
