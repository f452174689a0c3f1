#pragma once
// The window manager's skip-taskbar state of a top-level window: the way a desktop is told
// to leave a window's button out of its taskbar.
#include <memory>

class QWidget;

namespace tessival::app {

class TaskbarSkipState {
 public:
  virtual ~TaskbarSkipState() = default;
  // False where the desktop has no such state (Wayland, the offscreen platform).
  virtual bool Supported() const = 0;
  // Called while the window is hidden; the state is read when the window is mapped.
  virtual void SetWhileHidden(QWidget& window, bool skip) = 0;
  // Called after the window is shown again, for a window manager that is already
  // managing it.
  virtual void RequestWhileShown(QWidget& window, bool skip) = 0;
};

// The state of the desktop the program runs on.
std::unique_ptr<TaskbarSkipState> MakeDesktopTaskbarSkipState();

}  // namespace tessival::app
