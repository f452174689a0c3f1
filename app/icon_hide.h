#pragma once
// Hides the program's taskbar button and brings it back. The state belongs to the whole
// program, not to one component: every TIconHide reads and changes the same one.
#include <QPointer>
#include <QWidget>
#include <memory>

#include "app/taskbar_skip_state.h"

namespace tessival::app {

class TIconHide {
 public:
  // `window` is the program's taskbar window, the main window.
  explicit TIconHide(QWidget* window,
                     std::unique_ptr<TaskbarSkipState> skip_state = MakeDesktopTaskbarSkipState());

  bool Hidden() const;
  // Setting the value the program already has changes nothing. Otherwise the window is
  // hidden, its skip-taskbar state set and the window shown again, as window managers
  // read that state when a window is mapped. A window not shown yet stays hidden.
  void SetHidden(bool hidden);

  // Whether the desktop can leave a window out of its taskbar at all.
  bool Supported() const { return skip_state_->Supported(); }

 private:
  QPointer<QWidget> window_;
  std::unique_ptr<TaskbarSkipState> skip_state_;
};

}  // namespace tessival::app
