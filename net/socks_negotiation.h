#pragma once
// The client side of a SOCKS 4, 4A or 5 negotiation, without any I/O: the socket reads
// into ReceiveSpace(), reports the count with Received(), and sends what the Sink is given.
// Kept apart from the socket so that it can be driven by tests and the fuzzer directly.
//
//   kIdle -Start-> kMethodReply            (SOCKS 4 and 4A: straight to kConnectReply)
//   kMethodReply -method 0-> kConnectReply
//   kMethodReply -method 2-> kAuthReply (user name/password) -accepted-> kConnectReply
//   kConnectReply -success-> kIdle (left-over bytes kept)
//   any failure: the owner calls Reset -> kIdle
#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace tessival::net {

enum TSocksAuthentication { socksNoAuthentication, socksAuthenticateUsercode };
enum TSocksAuthState { socksAuthBegin, socksAuthAccepted, socksAuthRefused, socksAuthSkipped };

struct SocksRequest {
  std::string level = "5";  // "4", "4A" or "5", upper-cased
  std::string user;
  std::string password;
  TSocksAuthentication authentication = socksNoAuthentication;
  std::string host;  // the destination as given (sent as a name by 4A and 5)
  int port = 0;      // destination port
};

// What the negotiation waits for; the numbers are the ones the socket reports.
enum class SocksState { kIdle = 0, kMethodReply = 1, kAuthReply = 2, kConnectReply = 3 };

// What one step of the negotiation came to.
struct SocksOutcome {
  enum Kind { kWait, kConnected, kError } kind = kWait;
  int error = 0;
  std::string text;
  static SocksOutcome Wait() { return {}; }
  static SocksOutcome Connected() { return {kConnected, 0, {}}; }
  static SocksOutcome Error(int code, std::string message) { return {kError, code, std::move(message)}; }
};

class SocksNegotiation {
 public:
  static constexpr int kBufferSize = 128;

  class Sink {
   public:
    virtual ~Sink() = default;
    virtual void SendRequest(std::span<const std::uint8_t> bytes) = 0;
    virtual void AuthState(TSocksAuthState state) = 0;
    // The destination address for SOCKS 4 (network byte order); throws on failure.
    virtual std::uint32_t ResolveSocks4Destination(const std::string& host) = 0;
  };

  // Called when the connection to the SOCKS server is made: checks that every request
  // fits its buffer, then sends the first request. Never sends part of a request.
  SocksOutcome Start(const SocksRequest& request, Sink& sink);
  // Where the next bytes from the server go; empty while no reply is expected.
  std::span<std::uint8_t> ReceiveSpace();
  // count bytes were written into ReceiveSpace().
  SocksOutcome Received(int count, Sink& sink);

  SocksState State() const { return state_; }
  void Reset();
  const std::string& BoundAddr() const { return bound_addr_; }
  const std::string& BoundPort() const { return bound_port_; }
  // Bytes that came behind the final reply.
  int LeftOverCount() const { return left_over_count_; }
  int TakeLeftOver(void* buffer, int size);

 private:
  SocksOutcome OnMethodReply(Sink& sink);
  SocksOutcome OnAuthReply(Sink& sink);
  SocksOutcome OnSocks4Reply();
  SocksOutcome OnSocks5Reply();
  SocksOutcome SendConnectRequest(Sink& sink);
  SocksOutcome SendAuthRequest(Sink& sink);
  bool IsLevel4() const { return request_.level[0] == '4'; }

  SocksRequest request_;
  SocksState state_ = SocksState::kIdle;
  int auth_offered_ = 0;
  std::array<std::uint8_t, kBufferSize> reply_{};
  int fill_ = 0;
  int left_over_count_ = 0;
  int left_over_pos_ = 0;
  std::string bound_addr_;
  std::string bound_port_;
};

}  // namespace tessival::net
