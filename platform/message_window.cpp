#include "platform/message_window.h"

#include "platform/message_loop.h"

namespace tessival::platform {

MessageWindow::MessageWindow(MessageLoop& loop, WindowProc proc)
    : loop_(loop), proc_(std::move(proc)), handle_(loop.Register(this)) {}

MessageWindow::MessageWindow(WindowProc proc)
    : MessageWindow(MessageLoop::ForThisThread(), std::move(proc)) {}

MessageWindow::MessageWindow(MessageLoop& loop) : loop_(loop), handle_(loop.Register(this)) {}

MessageWindow::~MessageWindow() { loop_.Unregister(handle_); }

bool MessageWindow::PostMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return loop_.Post(handle_, message, wparam, lparam);
}

LRESULT MessageWindow::SendMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  return WndProc(message, wparam, lparam);
}

void MessageWindow::SetTimer(std::uintptr_t id, std::chrono::milliseconds interval) {
  loop_.SetTimer(handle_, id, interval);
}

bool MessageWindow::KillTimer(std::uintptr_t id) { return loop_.KillTimer(handle_, id); }

LRESULT MessageWindow::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  return proc_ ? proc_(message, wparam, lparam) : 0;
}

}  // namespace tessival::platform
