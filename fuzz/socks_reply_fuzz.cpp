// Arbitrary SOCKS 4/4A/5 server replies, split at arbitrary points, fed to the client
// negotiation. Every run must end connected, with a SOCKS error, or still waiting for
// more; never with a read or write outside the reply buffer.
//
// Input: byte 0 picks the level and authentication, byte 1 the user/host lengths; the
// rest is the server's byte stream, in chunks whose lengths come from the stream itself
// (a chunk starts with its length byte).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#include "net/socket_exception.h"
#include "net/socks_negotiation.h"

namespace {

using tessival::net::SocksNegotiation;
using tessival::net::SocksOutcome;
using tessival::net::SocksRequest;

class NullSink : public SocksNegotiation::Sink {
 public:
  void SendRequest(std::span<const std::uint8_t> bytes) override {
    if (bytes.size() > SocksNegotiation::kBufferSize) std::abort();
  }
  void AuthState(tessival::net::TSocksAuthState) override {}
  std::uint32_t ResolveSocks4Destination(const std::string& host) override {
    if (host.empty()) throw tessival::net::ESocketException("no host");
    return 0x0100007F;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static const char* const kLevels[] = {"4", "4A", "5", "5"};
  SocksRequest request;
  request.level = kLevels[data[0] & 3];
  request.authentication = (data[0] & 4) ? tessival::net::socksAuthenticateUsercode
                                         : tessival::net::socksNoAuthentication;
  request.user.assign(data[1] & 0x7F, 'u');
  request.password.assign(data[1] >> 4, 'p');
  request.host.assign(1 + (data[0] >> 3) * 5, 'h');
  request.port = 80;
  NullSink sink;
  SocksNegotiation negotiation;
  SocksOutcome outcome = negotiation.Start(request, sink);
  std::size_t pos = 2;
  while (outcome.kind == SocksOutcome::kWait && pos < size) {
    std::size_t chunk = data[pos++] % 16 + 1;
    const std::span<std::uint8_t> space = negotiation.ReceiveSpace();
    if (space.empty()) std::abort();  // waiting with no room would never end
    chunk = std::min({chunk, space.size(), size - pos});
    std::memcpy(space.data(), data + pos, chunk);
    pos += chunk;
    outcome = negotiation.Received(static_cast<int>(chunk), sink);
  }
  if (outcome.kind == SocksOutcome::kError && (outcome.error < 20001 || outcome.error > 20017)) {
    std::abort();
  }
  if (outcome.kind == SocksOutcome::kConnected) {
    char out[64];
    while (negotiation.TakeLeftOver(out, sizeof out) > 0) {
    }
    if (negotiation.State() != tessival::net::SocksState::kIdle) std::abort();
  }
  return 0;
}
