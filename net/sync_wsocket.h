#pragma once
// TCustomSyncWSocket: waits for a flag while the message loop keeps running. A wait
// sleeps until the next event (or its time-out) instead of polling.
#include <functional>

#include "net/line_wsocket.h"

namespace tessival::net {

constexpr int kWaitTimedOut = 12001;

class TCustomSyncWSocket : public TCustomLineWSocket {
 public:
  TCustomSyncWSocket() = default;
  explicit TCustomSyncWSocket(platform::MessageLoop& loop) : TCustomLineWSocket(loop) {}

  // 0 means no time-out.
  int WaitTimeout() const { return timeout_ms_; }
  void SetWaitTimeout(int milliseconds) { timeout_ms_ = milliseconds; }

  // 0 once done is true; 12001 on time-out or when a quit message reached the socket.
  int Wait(const bool& done);
  // Clears done, runs the procedure (if any), then waits.
  int Synchronise(const std::function<void()>& procedure, bool& done);

 protected:
  void HandleWindowMessage(platform::UINT message, platform::WPARAM wparam,
                           platform::LPARAM lparam) override;

 private:
  int timeout_ms_ = 0;
  bool timed_out_ = false;
};

}  // namespace tessival::net
