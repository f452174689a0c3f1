#pragma once
// TWSocket: the socket class callers own (the HTTP client among them): the core with
// SOCKS, line mode and synchronous waits.
#include "net/sync_wsocket.h"

namespace tessival::net {

class TWSocket : public TCustomSyncWSocket {
 public:
  TWSocket() = default;
  explicit TWSocket(platform::MessageLoop& loop) : TCustomSyncWSocket(loop) {}
};

}  // namespace tessival::net
