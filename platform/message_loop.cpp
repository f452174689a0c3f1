#include "platform/message_loop.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/message_window.h"

namespace tessival::platform {
namespace {

[[noreturn]] void ThrowErrno(const char* what) {
  throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

void AddToEpoll(int epoll_fd, int fd, std::uint32_t events) {
  epoll_event ev{};
  ev.events = events;
  ev.data.fd = fd;
  if (::epoll_ctl(epoll_fd, EPOLL_CTL_ADD, fd, &ev) != 0) ThrowErrno("epoll_ctl(ADD)");
}

void Drain(int fd) {
  std::uint64_t value = 0;
  while (::read(fd, &value, sizeof value) == static_cast<ssize_t>(sizeof value)) {
  }
}

int ToEpollTimeout(std::chrono::milliseconds timeout) {
  if (timeout.count() < 0) return -1;
  return static_cast<int>(std::min<std::chrono::milliseconds::rep>(timeout.count(), 1 << 30));
}

}  // namespace

MessageLoop::MessageLoop()
    : epoll_(::epoll_create1(EPOLL_CLOEXEC)),
      wake_(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)),
      timer_(::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {
  if (!epoll_.valid() || !wake_.valid() || !timer_.valid()) ThrowErrno("MessageLoop");
  AddToEpoll(epoll_.get(), wake_.get(), EPOLLIN);
  AddToEpoll(epoll_.get(), timer_.get(), EPOLLIN);
}

MessageLoop::~MessageLoop() = default;

MessageLoop& MessageLoop::ForThisThread() {
  thread_local MessageLoop loop;
  return loop;
}

std::uint64_t MessageLoop::Register(MessageWindow* window) {
  const std::uint64_t handle = next_window_++;
  windows_.emplace(handle, window);
  return handle;
}

void MessageLoop::Unregister(std::uint64_t window) {
  windows_.erase(window);
  // A window's timers die with it; its queued messages are skipped when they come up.
  std::erase_if(timers_, [window](const auto& entry) { return entry.first.window == window; });
  ArmTimerFd();
}

bool MessageLoop::Post(std::uint64_t window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (!windows_.contains(window)) return false;
  const bool was_empty = queue_.empty();
  queue_.push_back(Posted{window, message, wparam, lparam});
  if (was_empty) Wake();
  return true;
}

void MessageLoop::Wake() {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = ::write(wake_.get(), &one, sizeof one);
}

void MessageLoop::SetTimer(std::uint64_t window, std::uintptr_t id, std::chrono::milliseconds interval) {
  interval = std::max(interval, std::chrono::milliseconds(1));
  Timer& timer = timers_[TimerKey{window, id}];
  timer.interval = interval;
  timer.due = Clock::now() + interval;
  ArmTimerFd();
}

bool MessageLoop::KillTimer(std::uint64_t window, std::uintptr_t id) {
  const bool removed = timers_.erase(TimerKey{window, id}) > 0;
  if (removed) ArmTimerFd();
  return removed;
}

void MessageLoop::ArmTimerFd() {
  itimerspec setting{};
  auto earliest = Clock::time_point::max();
  for (const auto& [key, timer] : timers_) {
    if (!timer.message_pending) earliest = std::min(earliest, timer.due);
  }
  if (earliest != Clock::time_point::max()) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(earliest.time_since_epoch()).count();
    // An absolute time of zero would disarm the timer; anything in the past fires at once.
    const auto at = std::max<long long>(ns, 1);
    setting.it_value.tv_sec = static_cast<time_t>(at / 1'000'000'000);
    setting.it_value.tv_nsec = static_cast<long>(at % 1'000'000'000);
  }
  ::timerfd_settime(timer_.get(), TFD_TIMER_ABSTIME, &setting, nullptr);
}

void MessageLoop::FireDueTimers() {
  const auto now = Clock::now();
  bool posted = false;
  for (auto& [key, timer] : timers_) {
    if (timer.message_pending || timer.due > now) continue;
    // Like WM_TIMER elsewhere: at most one queued per timer, and late ticks coalesce.
    timer.message_pending = true;
    timer.due = now + timer.interval;
    const bool was_empty = queue_.empty();
    queue_.push_back(Posted{key.window, WM_TIMER, key.id, 0});
    if (was_empty) Wake();
    posted = true;
  }
  if (posted) ArmTimerFd();
}

void MessageLoop::WatchFd(int fd, std::uint32_t events, FdCallback callback) {
  auto shared = std::make_shared<FdCallback>(std::move(callback));
  if (watches_.contains(fd)) {
    watches_[fd] = std::move(shared);
    ModifyFd(fd, events);
    return;
  }
  AddToEpoll(epoll_.get(), fd, events);
  watches_.emplace(fd, std::move(shared));
}

void MessageLoop::ModifyFd(int fd, std::uint32_t events) {
  epoll_event ev{};
  ev.events = events;
  ev.data.fd = fd;
  if (::epoll_ctl(epoll_.get(), EPOLL_CTL_MOD, fd, &ev) != 0) ThrowErrno("epoll_ctl(MOD)");
}

void MessageLoop::UnwatchFd(int fd) {
  if (watches_.erase(fd) == 0) return;
  ::epoll_ctl(epoll_.get(), EPOLL_CTL_DEL, fd, nullptr);
}

void MessageLoop::PollReady() {
  std::array<epoll_event, 64> events{};
  const int count = ::epoll_wait(epoll_.get(), events.data(), static_cast<int>(events.size()), 0);
  for (int i = 0; i < count; ++i) {
    const int fd = events[i].data.fd;
    if (fd == wake_.get() || fd == timer_.get()) {
      Drain(fd);
      continue;
    }
    auto found = watches_.find(fd);
    if (found == watches_.end()) continue;  // unwatched by an earlier callback of this round
    const auto callback = found->second;    // keeps it alive if the callback unwatches
    (*callback)(events[i].events);
  }
}

bool MessageLoop::DispatchQueued(std::size_t count) {
  bool dispatched = false;
  for (std::size_t i = 0; i < count && !queue_.empty(); ++i) {
    const Posted posted = queue_.front();
    queue_.pop_front();
    auto window = windows_.find(posted.window);
    if (window == windows_.end()) continue;
    if (posted.message == WM_TIMER) {
      auto timer = timers_.find(TimerKey{posted.window, posted.wparam});
      if (timer == timers_.end()) continue;  // killed after the tick was queued
      timer->second.message_pending = false;
      ArmTimerFd();
    }
    dispatched = true;
    window->second->WndProc(posted.message, posted.wparam, posted.lparam);
  }
  return dispatched;
}

bool MessageLoop::ProcessMessages() {
  PollReady();
  FireDueTimers();
  const bool dispatched = DispatchQueued(queue_.size());
  if (!queue_.empty()) Wake();
  return dispatched;
}

void MessageLoop::WaitForEvent(std::chrono::milliseconds timeout) {
  if (!queue_.empty()) return;
  const auto now = Clock::now();
  for (const auto& [key, timer] : timers_) {
    if (!timer.message_pending && timer.due <= now) return;
  }
  epoll_event event{};
  int result;
  do {
    result = ::epoll_wait(epoll_.get(), &event, 1, ToEpollTimeout(timeout));
  } while (result < 0 && errno == EINTR);
}

void MessageLoop::SetPump(Pump pump) { pump_ = std::move(pump); }

void MessageLoop::RunOnce() {
  if (pump_) {
    pump_();
    return;
  }
  if (ProcessMessages()) return;
  WaitForEvent();
  ProcessMessages();
}

void MessageLoop::Run() {
  quit_ = false;
  while (!quit_) {
    ProcessMessages();
    if (quit_) break;
    WaitForEvent();
  }
}

}  // namespace tessival::platform
