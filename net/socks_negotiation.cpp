#include "net/socks_negotiation.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

#include "net/socket_exception.h"

namespace tessival::net {
namespace {

// Every request is built in a buffer of this size; longer values are refused before
// anything is sent instead of being cut or written past the buffer.
constexpr std::size_t kRequestBuffer = 128;
constexpr int kTooLong = 20014;
constexpr const char* kTooLongText = "user name, password or host name too long";

void AppendPort(std::vector<std::uint8_t>& out, int port) {
  out.push_back(static_cast<std::uint8_t>((port >> 8) & 0xFF));
  out.push_back(static_cast<std::uint8_t>(port & 0xFF));
}

void AppendText(std::vector<std::uint8_t>& out, const std::string& text) {
  out.insert(out.end(), text.begin(), text.end());
}

std::string Socks5ErrorText(int code) {
  switch (code) {
    case 1: return "general SOCKS server failure";
    case 2: return "connection not allowed by ruleset";
    case 3: return "network unreachable";
    case 4: return "host unreachable";
    case 5: return "connection refused";
    case 6: return "time to live expired";
    case 7: return "command not supported";
    case 8: return "address type not supported";
    default: return "unassigned error #" + std::to_string(code);
  }
}

}  // namespace

void SocksNegotiation::Reset() {
  state_ = SocksState::kIdle;
  fill_ = 0;
  left_over_count_ = 0;
  left_over_pos_ = 0;
}

SocksOutcome SocksNegotiation::Start(const SocksRequest& request, Sink& sink) {
  request_ = request;
  fill_ = 0;
  left_over_count_ = 0;
  const std::size_t user = request.user.size(), host = request.host.size();
  const bool authenticate = request.authentication == socksAuthenticateUsercode;
  const bool fits = request.level == "4" ? 9 + user <= kRequestBuffer
                    : request.level == "4A"
                        ? 10 + user + host <= kRequestBuffer
                        : 7 + host <= kRequestBuffer &&
                              (!authenticate || 3 + user + request.password.size() <= kRequestBuffer);
  if (!fits) return SocksOutcome::Error(kTooLong, kTooLongText);
  if (IsLevel4()) return SendConnectRequest(sink);
  state_ = SocksState::kMethodReply;
  auth_offered_ = authenticate ? 2 : 0;
  const std::uint8_t offer[3] = {5, 1, static_cast<std::uint8_t>(auth_offered_)};
  sink.SendRequest(offer);
  return SocksOutcome::Wait();
}

std::span<std::uint8_t> SocksNegotiation::ReceiveSpace() {
  // SOCKS 4 replies are exactly 8 bytes: nothing behind them is taken from the network.
  const int limit = (state_ == SocksState::kConnectReply && IsLevel4()) ? 8 : kBufferSize - 1;
  if (state_ == SocksState::kIdle || fill_ >= limit) return {};
  return {reply_.data() + fill_, static_cast<std::size_t>(limit - fill_)};
}

SocksOutcome SocksNegotiation::Received(int count, Sink& sink) {
  if (count <= 0) return SocksOutcome::Wait();
  fill_ = std::min(fill_ + count, kBufferSize - 1);
  switch (state_) {
    case SocksState::kMethodReply: return OnMethodReply(sink);
    case SocksState::kAuthReply: return OnAuthReply(sink);
    case SocksState::kConnectReply: return IsLevel4() ? OnSocks4Reply() : OnSocks5Reply();
    case SocksState::kIdle: break;
  }
  return SocksOutcome::Error(20013, "internal error");
}

SocksOutcome SocksNegotiation::OnMethodReply(Sink& sink) {
  if (IsLevel4()) return SocksOutcome::Error(20001, "TWSocket logic error");
  if (fill_ < 2) return SocksOutcome::Wait();
  fill_ = 0;
  if (reply_[0] != 5) return SocksOutcome::Error(20002, "socks version error");
  if (reply_[1] == 0) {
    if (auth_offered_ == 2) sink.AuthState(socksAuthSkipped);
    return SendConnectRequest(sink);
  }
  if (reply_[1] == 2) return SendAuthRequest(sink);
  return SocksOutcome::Error(20003, "authentification method not acceptable");
}

// RFC 1929: 1, user length, user, password length, password. The server may ask for it
// without having been offered it, so the length is checked here too.
SocksOutcome SocksNegotiation::SendAuthRequest(Sink& sink) {
  if (3 + request_.user.size() + request_.password.size() > kRequestBuffer) {
    return SocksOutcome::Error(kTooLong, kTooLongText);
  }
  state_ = SocksState::kAuthReply;
  sink.AuthState(socksAuthBegin);
  std::vector<std::uint8_t> out{1, static_cast<std::uint8_t>(request_.user.size())};
  AppendText(out, request_.user);
  out.push_back(static_cast<std::uint8_t>(request_.password.size()));
  AppendText(out, request_.password);
  sink.SendRequest(out);
  return SocksOutcome::Wait();
}

SocksOutcome SocksNegotiation::OnAuthReply(Sink& sink) {
  if (reply_[0] != 1) return SocksOutcome::Error(20002, "socks version error");
  if (fill_ > 2) return SocksOutcome::Error(20001, "too much data availaible");
  if (fill_ < 2) return SocksOutcome::Wait();
  if (reply_[1] != 0) return SocksOutcome::Error(20015, "socks authentication failed");
  fill_ = 0;
  sink.AuthState(socksAuthAccepted);
  return SendConnectRequest(sink);
}

// SOCKS 4:  4 | 1 | port (2) | address (4) | user ... | 0        [4A: address 0.0.0.1,
//           then host ... | 0]
// SOCKS 5:  5 | 1 | 0 | 3 (name) | length | host ... | port (2)
SocksOutcome SocksNegotiation::SendConnectRequest(Sink& sink) {
  state_ = SocksState::kConnectReply;
  fill_ = 0;
  std::vector<std::uint8_t> out;
  if (IsLevel4()) {
    std::uint32_t address = 0;
    if (request_.level == "4A") {
      address = 0x01000000;  // 0.0.0.1 in network byte order
    } else {
      try {
        address = sink.ResolveSocks4Destination(request_.host);
      } catch (const ESocketException& e) {
        return SocksOutcome::Error(20017, std::string("ESocketException ") + e.what());
      }
    }
    out = {4, 1};
    AppendPort(out, request_.port);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&address);
    out.insert(out.end(), bytes, bytes + 4);
    AppendText(out, request_.user);
    out.push_back(0);
    if (request_.level == "4A") {
      AppendText(out, request_.host);
      out.push_back(0);
    }
  } else {
    out = {5, 1, 0, 3, static_cast<std::uint8_t>(request_.host.size())};
    AppendText(out, request_.host);
    AppendPort(out, request_.port);
  }
  sink.SendRequest(out);
  return SocksOutcome::Wait();
}

SocksOutcome SocksNegotiation::OnSocks4Reply() {
  if (fill_ < 8) return SocksOutcome::Wait();
  fill_ = 0;
  if (reply_[0] != 0) return SocksOutcome::Error(20002, "socks version error");
  switch (reply_[1]) {
    case 90: state_ = SocksState::kIdle; return SocksOutcome::Connected();
    case 91: return SocksOutcome::Error(20016, "request rejected or failed");
    case 92: return SocksOutcome::Error(20008, "connection refused");
    case 93: return SocksOutcome::Error(20015, "authentification failed");
    default: return SocksOutcome::Error(20012, "unassigned error #" + std::to_string(reply_[1]));
  }
}

// 5 | status | 0 | type | address (type 1: 4 bytes; type 3: length byte + name) | port (2)
SocksOutcome SocksNegotiation::OnSocks5Reply() {
  if (reply_[0] != 5) return SocksOutcome::Error(20002, "socks version error");
  if (fill_ < 2) return SocksOutcome::Wait();
  if (reply_[1] != 0) {
    const int code = reply_[1];
    return SocksOutcome::Error(code >= 1 && code <= 8 ? 20003 + code : 20012, Socks5ErrorText(code));
  }
  if (fill_ <= 4) return SocksOutcome::Wait();
  const int type = reply_[3];
  const int length = type == 1 ? 10 : type == 3 ? reply_[4] + 7 : 5;
  if (type != 1 && type != 3) return SocksOutcome::Error(20011, "address type not supported");
  if (length > kBufferSize - 1) {
    // A name this long can never fit the reply buffer: waiting would never end.
    return SocksOutcome::Error(20001, "too much data availaible");
  }
  if (fill_ < length) return SocksOutcome::Wait();
  if (type == 1) {
    bound_addr_ = std::to_string(reply_[4]) + "." + std::to_string(reply_[5]) + "." +
                  std::to_string(reply_[6]) + "." + std::to_string(reply_[7]);
  } else {
    bound_addr_.assign(reinterpret_cast<const char*>(reply_.data() + 5), reply_[4]);
  }
  bound_port_ = std::to_string(reply_[length - 2] * 256 + reply_[length - 1]);
  left_over_count_ = fill_ - length;
  left_over_pos_ = length;
  fill_ = 0;
  state_ = SocksState::kIdle;
  return SocksOutcome::Connected();
}

int SocksNegotiation::TakeLeftOver(void* buffer, int size) {
  const int count = std::clamp(size, 0, left_over_count_);
  if (count == 0) return 0;
  std::memcpy(buffer, reply_.data() + left_over_pos_, static_cast<std::size_t>(count));
  left_over_pos_ += count;
  left_over_count_ -= count;
  return count;
}

}  // namespace tessival::net
