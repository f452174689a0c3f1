#pragma once
// The program's one message loop: posted window messages, window timers and readiness
// watches on file descriptors, in the shape the engine expects of a windowing system.
//
// It runs on its own (tests and command-line tools call ProcessMessages / RunOnce) and
// inside Qt (platform/qt/qt_loop_driver.h watches fd() and pumps it). Everything is
// single-threaded: the loop belongs to the thread that created it.
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "platform/unique_fd.h"
#include "platform/win_types.h"

namespace tessival::platform {

class MessageWindow;

// Readiness bits for WatchFd, the epoll ones under their own names.
enum FdEvent : std::uint32_t {
  kFdReadable = 0x001,  // EPOLLIN
  kFdWritable = 0x004,  // EPOLLOUT
  kFdError = 0x008,     // EPOLLERR
  kFdHangUp = 0x010,    // EPOLLHUP
};

class MessageLoop {
 public:
  using Clock = std::chrono::steady_clock;
  using FdCallback = std::function<void(std::uint32_t ready_events)>;

  MessageLoop();
  ~MessageLoop();
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // The loop of the calling thread, created on first use, like a thread's message queue.
  static MessageLoop& ForThisThread();

  // Dispatches what is pending now: ready descriptors, due timers and the messages that
  // were queued when the call began (messages posted while dispatching wait for the next
  // call, so a handler that keeps posting cannot starve the caller). Never blocks.
  // Returns true when anything was dispatched.
  bool ProcessMessages();

  // Blocks until something is pending (a message, a due timer, a ready descriptor) or
  // the timeout passes, without dispatching it. A negative timeout waits for ever.
  void WaitForEvent(std::chrono::milliseconds timeout = std::chrono::milliseconds(-1));

  // Waits for the next event and dispatches it: what blocking waits (a synchronous
  // request, Flush) call in their loop. Inside the application the Qt driver replaces
  // this with a pump that also runs the GUI's events.
  void RunOnce();
  using Pump = std::function<void()>;
  void SetPump(Pump pump);

  // Runs until Quit() is called (tools and tests).
  void Run();
  void Quit() { quit_ = true; }

  // Readiness watches. The callback runs from ProcessMessages while any of the events
  // of its mask is ready (level-triggered): a watcher that cannot consume the readiness
  // at once must narrow its mask, as the socket layer does for its re-arming rules.
  void WatchFd(int fd, std::uint32_t events, FdCallback callback);
  void ModifyFd(int fd, std::uint32_t events);
  void UnwatchFd(int fd);

  // The descriptor that becomes readable whenever the loop has something to dispatch.
  int fd() const { return epoll_.get(); }

  // Number of messages waiting in the queue (for tests and diagnostics).
  std::size_t PendingMessageCount() const { return queue_.size(); }

 private:
  friend class MessageWindow;
  struct Posted {
    std::uint64_t window;
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
  };
  struct TimerKey {
    std::uint64_t window;
    std::uintptr_t id;
    auto operator<=>(const TimerKey&) const = default;
  };
  struct Timer {
    std::chrono::milliseconds interval;
    Clock::time_point due;
    bool message_pending = false;
  };

  std::uint64_t Register(MessageWindow* window);
  void Unregister(std::uint64_t window);
  bool Post(std::uint64_t window, UINT message, WPARAM wparam, LPARAM lparam);
  void SetTimer(std::uint64_t window, std::uintptr_t id, std::chrono::milliseconds interval);
  bool KillTimer(std::uint64_t window, std::uintptr_t id);

  void PollReady();
  void FireDueTimers();
  void ArmTimerFd();
  void Wake();
  bool DispatchQueued(std::size_t count);
  void DispatchTimerMessage(const Posted& posted);

  UniqueFd epoll_;
  UniqueFd wake_;   // eventfd: written when a message is queued
  UniqueFd timer_;  // timerfd: armed for the earliest due window timer
  std::deque<Posted> queue_;
  std::unordered_map<std::uint64_t, MessageWindow*> windows_;
  std::uint64_t next_window_ = 1;
  std::map<TimerKey, Timer> timers_;
  std::unordered_map<int, std::shared_ptr<FdCallback>> watches_;
  Pump pump_;
  bool quit_ = false;
};

}  // namespace tessival::platform
