#pragma once
// A hidden message window: the object that posted messages and timers are addressed to.
// Subclasses (or the owner, through a callback) provide the window procedure. A window
// destroyed with messages still queued receives none of them.
#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/win_types.h"

namespace tessival::platform {

class MessageLoop;

class MessageWindow {
 public:
  using WindowProc = std::function<LRESULT(UINT message, WPARAM wparam, LPARAM lparam)>;

  // A window whose procedure is the given callback.
  MessageWindow(MessageLoop& loop, WindowProc proc);
  explicit MessageWindow(WindowProc proc);  // on this thread's loop
  virtual ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  // Queues a message for this window; false only when the window is gone.
  bool PostMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  // Calls the window procedure at once, as a sent message does.
  LRESULT SendMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);

  // Window timers: WM_TIMER with wparam = id every interval, never more than one queued
  // per timer. Setting an existing id restarts it with the new interval.
  void SetTimer(std::uintptr_t id, std::chrono::milliseconds interval);
  bool KillTimer(std::uintptr_t id);

  MessageLoop& loop() const { return loop_; }
  // A handle that stays unique for the life of the loop (never reused).
  std::uint64_t handle() const { return handle_; }

 protected:
  // A subclass that overrides WndProc passes no callback.
  explicit MessageWindow(MessageLoop& loop);
  virtual LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  friend class MessageLoop;
  MessageLoop& loop_;
  WindowProc proc_;
  std::uint64_t handle_;
};

}  // namespace tessival::platform
