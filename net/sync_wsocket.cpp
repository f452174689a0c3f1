#include "net/sync_wsocket.h"

#include <chrono>

namespace tessival::net {
namespace {

constexpr std::uintptr_t kWaitTimerId = 0x5743;

}  // namespace

void TCustomSyncWSocket::HandleWindowMessage(platform::UINT message, platform::WPARAM wparam,
                                             platform::LPARAM lparam) {
  if (message == platform::WM_TIMER && wparam == kWaitTimerId) {
    timed_out_ = true;
    return;
  }
  TCustomLineWSocket::HandleWindowMessage(message, wparam, lparam);
}

// The deadline is a window timer: its message wakes the loop like any other event, so the
// wait needs no polling of the clock.
int TCustomSyncWSocket::Wait(const bool& done) {
  const bool timed = timeout_ms_ > 0;
  const bool outer_timed_out = timed_out_;
  timed_out_ = false;
  if (timed) Window().SetTimer(kWaitTimerId, std::chrono::milliseconds(timeout_ms_));
  int result = 0;
  while (!done) {
    if ((timed && timed_out_) || Terminated()) {
      result = kWaitTimedOut;
      break;
    }
    WaitForNextEvent();
  }
  if (timed) Window().KillTimer(kWaitTimerId);
  timed_out_ = outer_timed_out;
  return result;
}

int TCustomSyncWSocket::Synchronise(const std::function<void()>& procedure, bool& done) {
  done = false;
  if (procedure) procedure();
  return Wait(done);
}

}  // namespace tessival::net
