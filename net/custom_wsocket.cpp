#include "net/custom_wsocket.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <algorithm>
#include <array>
#include <cstdio>

#include "net/wsocket_resolve.h"
#include "platform/message_loop.h"
#include "platform/wsock_errors.h"

namespace tessival::net {

using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;
using platform::INVALID_SOCKET;

namespace {

constexpr long kConnectEvents = platform::FD_READ | platform::FD_WRITE | platform::FD_ACCEPT |
                                platform::FD_CONNECT | platform::FD_CLOSE;
constexpr long kListenEvents = platform::FD_READ | platform::FD_WRITE | platform::FD_ACCEPT |
                               platform::FD_CLOSE;
constexpr long kDupEvents = platform::FD_READ | platform::FD_WRITE | platform::FD_CONNECT |
                            platform::FD_CLOSE;

bool IsCloseError(int error) {
  return error == 10022 || error == 10038 || error == 10053 || error == 10054 || error == 10057;
}

std::string FormatError(const char* format, const std::string& text, int number) {
  std::array<char, 512> out{};
  std::snprintf(out.data(), out.size(), format, text.c_str(), number);
  return out.data();
}

std::string FormatNumber(const char* format, int number) {
  std::array<char, 128> out{};
  std::snprintf(out.data(), out.size(), format, number);
  return out.data();
}

}  // namespace

// The hidden window: its procedure hands every message to the socket, which may destroy
// itself (and so this window) while handling the delayed release.
class TCustomWSocket::SocketWindow : public platform::MessageWindow {
 public:
  SocketWindow(platform::MessageLoop& loop, TCustomWSocket& owner)
      : MessageWindow(loop), owner_(owner) {}

 protected:
  LRESULT WndProc(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_WSOCKET_RELEASE) {
      const auto doomed = std::move(owner_.self_owner_);
      return 0;  // nothing of this window may be touched once `doomed` goes
    }
    return owner_.WndProc(message, wparam, lparam);
  }

 private:
  TCustomWSocket& owner_;
};

TCustomWSocket::TCustomWSocket(platform::MessageLoop& loop)
    : window_(std::make_unique<SocketWindow>(loop, *this)) {
  platform::WsStartup();
  AssignDefaultValue();
}

TCustomWSocket::TCustomWSocket() : TCustomWSocket(platform::MessageLoop::ForThisThread()) {}

TCustomWSocket::~TCustomWSocket() {
  destroying_ = true;
  try {
    CancelDnsLookup();
  } catch (const ESocketException&) {
    // A lookup that cannot be cancelled any more is of no interest to a socket that goes.
  }
  if (hsocket_ != INVALID_SOCKET) {
    platform::WsCloseSocket(hsocket_);
    hsocket_ = INVALID_SOCKET;
  }
  platform::WsCleanup();
}

platform::MessageLoop& TCustomWSocket::Loop() const { return window_->loop(); }
platform::MessageWindow& TCustomWSocket::Window() { return *window_; }
void TCustomWSocket::PostTestException() { window_->PostMessage(WM_TRIGGER_EXCEPTION); }

// Properties ------------------------------------------------------------------------

// The remote address, port and protocol texts: the same value again changes nothing,
// anything else only while closed, and a new text must be resolved again.
void TCustomWSocket::AssignRemoteText(RemoteText& item, const std::string& value, const char* name) {
  const std::string text = Trim(value);
  if (item.assigned && text == item.text) return;
  if (state_ != wsClosed) {
    return RaiseException(std::string("Cannot change ") + name + " if not closed");
  }
  item.text = text;
  item.assigned = !text.empty();
  item.resolved = false;
}

void TCustomWSocket::SetAddr(const std::string& value) { AssignRemoteText(addr_, value, "Addr"); }
void TCustomWSocket::SetPort(const std::string& value) { AssignRemoteText(port_, value, "Port"); }
void TCustomWSocket::SetProto(const std::string& value) { AssignRemoteText(proto_, value, "Proto"); }

void TCustomWSocket::SetLocalAddr(const std::string& value) {
  const std::string text = Trim(value).empty() ? "0.0.0.0" : Trim(value);
  if (text == local_addr_) return;
  if (state_ != wsClosed) return RaiseException("Cannot change LocalAddr if not closed");
  local_addr_ = text;
}

void TCustomWSocket::SetLocalPort(const std::string& value) {
  const std::string text = Trim(value);
  if (text == local_port_str_) return;
  if (state_ != wsClosed) return RaiseException("Cannot change LocalPort if not closed");
  local_port_str_ = text;
  local_port_resolved_ = false;
}

TSocketSendFlags TCustomWSocket::SendFlags() const {
  if (send_flags_ != wsSendNormal && send_flags_ != wsSendUrgent) {
    throw ESocketException("Invalid internal SendFlags");
  }
  return static_cast<TSocketSendFlags>(send_flags_);
}

void TCustomWSocket::SetSendFlags(TSocketSendFlags value) {
  if (value != wsSendNormal && value != wsSendUrgent) return RaiseException("Invalid SendFlags");
  send_flags_ = value;
}

void TCustomWSocket::AssignDefaultValue() {
  addr_.assigned = addr_.resolved = false;
  port_.assigned = port_.resolved = false;
  proto_.text = "tcp";
  proto_.assigned = true;
  proto_.resolved = false;
  local_port_str_ = "0";
  local_port_resolved_ = false;
  local_addr_ = "0.0.0.0";
  linger_on_off_ = wsLingerOn;
  linger_timeout_ = 0;
  hsocket_ = INVALID_SOCKET;
  state_ = wsClosed;
  all_sent_ = true;
  paused_ = false;
  close_invoked_ = false;
  read_count_ = 0;
  flush_timeout_ = 60;
}

// Errors ----------------------------------------------------------------------------

void TCustomWSocket::RaiseException(const std::string& message) {
  if (OnError) {
    TriggerError();
    return;
  }
  throw ESocketException(message);
}

void TCustomWSocket::RaiseExceptionFmt(const std::string& message) { RaiseException(message); }

void TCustomWSocket::SocketError(const std::string& function_name) {
  const int error = platform::WsGetLastError();
  const std::string message = "Error " + std::to_string(error) + " in function " + function_name +
                              "\r\n" + platform::WinSockErrorDesc(error);
  if (error == platform::WSAECONNRESET || error == platform::WSAENOTCONN) {
    if (hsocket_ != INVALID_SOCKET) platform::WsCloseSocket(hsocket_);
    hsocket_ = INVALID_SOCKET;
    if (state_ != wsClosed) {
      if (!close_invoked_) {
        close_invoked_ = true;
        TriggerSessionClosed(static_cast<Word>(error));
      }
      ChangeState(wsClosed);
    }
  }
  last_error_ = error;
  RaiseException(message);
}

void TCustomWSocket::HandleBackGroundException(const std::exception& e) {
  bool can_close = true;
  if (OnBgException) {
    try {
      OnBgException(*this, e, can_close);
    } catch (const std::runtime_error&) {
      // A failing report of a failure: the socket still has to be put right below.
    }
  }
  if (!can_close) return;
  try {
    Abort();
  } catch (const ESocketException&) {
    // The socket is closed whatever the abort reported.
  }
}

// Triggers --------------------------------------------------------------------------

bool TCustomWSocket::TriggerDataAvailable(Word error) {
  if (!OnDataAvailable) return false;
  OnDataAvailable(*this, error);
  return true;
}
void TCustomWSocket::TriggerSessionAvailable(Word error) {
  if (OnSessionAvailable) OnSessionAvailable(*this, error);
}
void TCustomWSocket::TriggerSessionConnected(Word error) {
  if (OnSessionConnected) OnSessionConnected(*this, error);
}
void TCustomWSocket::TriggerSessionClosed(Word error) {
  if (OnSessionClosed) OnSessionClosed(*this, error);
}
void TCustomWSocket::TriggerDataSent(Word error) {
  if (OnDataSent) OnDataSent(*this, error);
}
void TCustomWSocket::TriggerChangeState(TSocketState old_state, TSocketState new_state) {
  if (OnChangeState) OnChangeState(*this, old_state, new_state);
}
void TCustomWSocket::TriggerDNSLookupDone(Word error) {
  if (OnDnsLookupDone) OnDnsLookupDone(*this, error);
}
void TCustomWSocket::TriggerError() {
  if (OnError) OnError(*this);
}

void TCustomWSocket::ChangeState(TSocketState new_state) {
  const TSocketState old_state = state_;
  state_ = new_state;
  TriggerChangeState(old_state, new_state);
}

// Window messages -------------------------------------------------------------------

LRESULT TCustomWSocket::WndProc(UINT message, WPARAM wparam, LPARAM lparam) {
  DispatchGuarded(message, wparam, lparam);
  return 0;
}

bool TCustomWSocket::DispatchGuarded(UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    HandleWindowMessage(message, wparam, lparam);
    return true;
  } catch (const std::runtime_error& e) {
    // A handler's failure ends up with the socket's owner; out of memory and logic errors
    // are no such failure and pass on to the program's error report.
    HandleBackGroundException(e);
    return false;
  }
}

void TCustomWSocket::HandleWindowMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ASYNCSELECT: return HandleSelectMessage(wparam, lparam);
    case WM_ASYNCGETHOSTBYNAME:
    case WM_ASYNCGETHOSTBYADDR: return HandleLookupMessage(message, wparam, lparam);
    case WM_CLOSE_DELAYED: return Close();
    case WM_TRIGGER_EXCEPTION: throw std::runtime_error("Test exception in WSocket");
    case platform::WM_QUIT: terminated_ = true; return;
    default: return;
  }
}

void TCustomWSocket::HandleSelectMessage(WPARAM wparam, LPARAM lparam) {
  if (wparam != hsocket_ || paused_) return;
  const long event = platform::WSAGetSelectEvent(lparam);
  const Word error = static_cast<Word>(platform::WSAGetSelectError(lparam));
  if (event & platform::FD_CONNECT) {
    if (state_ != wsConnected) {
      ChangeState(wsConnected);
      TriggerSessionConnected(error);
      if (error != 0 && state_ != wsClosed) Close();
    }
  }
  if (event & platform::FD_READ) {
    if (state_ != wsConnected) {
      ChangeState(wsConnected);
      TriggerSessionConnected(error);
    }
    ReceiveLoop(false);
  }
  if (event & platform::FD_WRITE) {
    TryToSend();
    if (all_sent_) TriggerDataSent(error);
  }
  if (event & platform::FD_ACCEPT) TriggerSessionAvailable(error);
  if ((event & platform::FD_CLOSE) && state_ != wsConnecting) {
    ReceiveLoop(true);
    if (!close_invoked_) {
      close_invoked_ = true;
      TriggerSessionClosed(error);
    }
    if (state_ != wsClosed) Close();
  }
}

// The receive loop stops when a pass took nothing although data is waiting: a handler
// that leaves data unread would otherwise be called for ever without a new event.
void TCustomWSocket::ReceiveLoop(bool always) {
  while (true) {
    last_error_ = 0;
    const std::uint64_t progress = receive_progress_;
    try {
      if (!TriggerDataAvailable(0)) {
        std::array<char, 1024> discard;
        if (DoRecv(discard.data(), static_cast<int>(discard.size()), 0) > 0) {
          ++receive_progress_;
        } else if (last_error_ == platform::WSAEWOULDBLOCK) {
          last_error_ = 0;
          break;
        }
      }
    } catch (const ENetException&) {
      // A handler that gives up on the data it was offered ends this round; the next
      // event offers what is left.
      break;
    }
    if (!always && component_options_.contains(wsoNoReceiveLoop)) break;
    if (last_error_ != 0 || hsocket_ == INVALID_SOCKET) break;
    unsigned long waiting = 0;
    if (platform::WsIoctlFionread(hsocket_, &waiting) != 0 || waiting == 0) break;
    if (receive_progress_ == progress) break;
  }
}

// Name lookup -----------------------------------------------------------------------

void TCustomWSocket::FailedLookup(Word error) {
  RaiseException(FormatError("%s: can't start DNS lookup, error #%d", "DnsLookup", error));
  // Reached only when OnError took the error: the caller still hears the lookup end.
  TriggerDNSLookupDone(error);
}

// Common start of both lookups: a refused name still ends with OnDnsLookupDone; a
// running lookup is cancelled and the last results are cleared.
bool TCustomWSocket::BeginLookup(bool name_valid, const char* invalid_message) {
  if (!name_valid) {
    RaiseException(invalid_message);
    TriggerDNSLookupDone(platform::WSAEINVAL);
    return false;
  }
  if (dns_lookup_handle_ != 0) CancelDnsLookup();
  dns_result_.clear();
  dns_result_list_.clear();
  return true;
}

void TCustomWSocket::DnsLookup(const std::string& host_name) {
  if (!BeginLookup(!host_name.empty(), "DNS lookup: invalid host name.")) return;
  if (WSocketIsDottedIP(host_name)) {
    in_addr address{};
    if (::inet_aton(Trim(host_name).c_str(), &address) != 0 && address.s_addr != INADDR_NONE) {
      dns_result_ = WSocketIpToStr(address.s_addr);
      dns_result_list_.push_back(dns_result_);
      TriggerDNSLookupDone(0);
      return;
    }
  }
  dns_lookup_handle_ = platform::WsAsyncGetHostByName(window_.get(), WM_ASYNCGETHOSTBYNAME, host_name,
                                                      &dns_lookup_buffer_);
  if (dns_lookup_handle_ == 0) FailedLookup(static_cast<Word>(platform::WsGetLastError()));
}

void TCustomWSocket::ReverseDnsLookup(const std::string& host_addr) {
  const bool valid = !host_addr.empty() && host_addr.size() < 257;
  if (!BeginLookup(valid, "ReverseDnsLookup: Invalid host name.")) return;
  in_addr address{};
  address.s_addr = INADDR_NONE;
  ::inet_aton(Trim(host_addr).c_str(), &address);
  dns_lookup_handle_ = platform::WsAsyncGetHostByAddr(window_.get(), WM_ASYNCGETHOSTBYADDR,
                                                      address.s_addr, &dns_lookup_buffer_);
  if (dns_lookup_handle_ == 0) FailedLookup(static_cast<Word>(platform::WsGetLastError()));
}

void TCustomWSocket::CancelDnsLookup() {
  if (dns_lookup_handle_ == 0) return;
  const platform::HANDLE request = std::exchange(dns_lookup_handle_, 0);
  if (platform::WsCancelAsyncRequest(request) != 0) return SocketError("WSACancelAsyncRequest");
  if (!destroying_) TriggerDNSLookupDone(platform::WSAEINTR);
}

void TCustomWSocket::HandleLookupMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (dns_lookup_handle_ == 0 || wparam != dns_lookup_handle_) return;
  dns_lookup_handle_ = 0;
  const Word error = static_cast<Word>(platform::WSAGetSelectError(lparam));
  if (error == 0) {
    if (message == WM_ASYNCGETHOSTBYNAME) {
      for (const std::uint32_t address : dns_lookup_buffer_.addresses) {
        dns_result_list_.push_back(WSocketIpToStr(address));
      }
      if (!dns_result_list_.empty()) dns_result_ = dns_result_list_.front();
    } else {
      dns_result_ = dns_lookup_buffer_.name;
      dns_result_list_.push_back(dns_result_);
    }
  }
  TriggerDNSLookupDone(error);
}

// Connecting ------------------------------------------------------------------------

void TCustomWSocket::SetRemotePort(int port) { sin_.sin_port = htons(static_cast<std::uint16_t>(port)); }

void TCustomWSocket::ResolveForConnect(const char* prefix) {
  try {
    if (!proto_.resolved) {
      proto_number_ = WSocketResolveProto(proto_.text);
      sock_type_ = proto_number_ == IPPROTO_TCP   ? SOCK_STREAM
                   : proto_number_ == IPPROTO_UDP ? SOCK_DGRAM
                                                  : SOCK_RAW;
      proto_.resolved = true;
    }
    if (!port_.resolved) {
      SetRemotePort(WSocketResolvePort(port_.text, proto_.text));
      port_.resolved = true;
    }
    if (!local_port_resolved_) {
      local_port_num_ = WSocketResolvePort(local_port_str_, proto_.text);
      local_port_resolved_ = true;
    }
    if (!addr_.resolved) {
      sin_.sin_family = AF_INET;
      sin_.sin_addr.s_addr = WSocketResolveHost(addr_.text);
      addr_.resolved = true;
    }
  } catch (const ESocketException& e) {
    throw ESocketException(std::string(prefix) + e.what());
  }
}

// A resolution failure is reported with the operation's prefix; false when there was one.
bool TCustomWSocket::ResolveOrReport(const char* prefix) {
  try {
    ResolveForConnect(prefix);
    return true;
  } catch (const ESocketException& e) {
    RaiseException(e.what());
    return false;
  }
}

void TCustomWSocket::SetOption(int level, int name, int value, const char* function_name) {
  if (platform::WsSetSockOpt(hsocket_, level, name, &value, sizeof value) != 0) {
    SocketError(function_name);
  }
}

void TCustomWSocket::ApplyLinger() {
  if (linger_on_off_ == wsLingerNoSet) return;
  if (hsocket_ == INVALID_SOCKET) return RaiseException("Cannot set linger option at this time");
  const linger value{linger_on_off_ == wsLingerOn ? 1 : 0, linger_timeout_};
  if (platform::WsSetSockOpt(hsocket_, SOL_SOCKET, SO_LINGER, &value, sizeof value) != 0) {
    SocketError("setsockopt(SO_LINGER)");
  }
}

void TCustomWSocket::SetupStreamSocket() {
  SetOption(SOL_SOCKET, SO_REUSEADDR, 1, "setsockopt(SO_REUSEADDR)");
  if (component_options_.contains(wsoTcpNoDelay)) {
    SetOption(IPPROTO_TCP, TCP_NODELAY, 1, "setsockopt(IPPROTO_TCP, TCP_NODELAY)");
  }
  ApplyLinger();
  SetOption(SOL_SOCKET, SO_KEEPALIVE, 1, "setsockopt(SO_KEEPALIVE)");
  if (local_port_num_ == 0 && local_addr_ == "0.0.0.0") return;
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(static_cast<std::uint16_t>(local_port_num_));
  local.sin_addr.s_addr = WSocketResolveHost(local_addr_);
  if (platform::WsBind(hsocket_, local) != 0) {
    return RaiseExceptionFmt(FormatNumber("winsock.bind failed, error #%d", platform::WsGetLastError()));
  }
  sockaddr_in bound{};
  if (platform::WsGetSockName(hsocket_, &bound) != 0) {
    return RaiseExceptionFmt(
        FormatNumber("winsock.getsockname failed, error #%d", platform::WsGetLastError()));
  }
  local_port_str_ = std::to_string(ntohs(bound.sin_port));
}

void TCustomWSocket::SetupDatagramSocket() {
  sockaddr_in local{};
  local.sin_family = AF_INET;
  local.sin_port = htons(static_cast<std::uint16_t>(local_port_num_));
  local.sin_addr.s_addr = WSocketResolveHost(local_addr_);
  if (platform::WsBind(hsocket_, local) != 0) {
    return RaiseExceptionFmt(FormatNumber("winsock.bind failed, error #%d", platform::WsGetLastError()));
  }
  if (multi_cast_) {
    if (multi_cast_ip_ttl_ != 1) {
      SetOption(IPPROTO_IP, IP_MULTICAST_TTL, multi_cast_ip_ttl_, "setsockopt(IP_MULTICAST_TTL)");
    }
    if (local_addr_ != "0.0.0.0") {
      const in_addr interface_addr{local.sin_addr.s_addr};
      if (platform::WsSetSockOpt(hsocket_, IPPROTO_IP, IP_MULTICAST_IF, &interface_addr,
                                 sizeof interface_addr) != 0) {
        SocketError("setsockopt(IP_MULTICAST_IF)");
      }
    }
  }
  if (sin_.sin_addr.s_addr == INADDR_BROADCAST) {
    SetOption(SOL_SOCKET, SO_BROADCAST, 1, "setsockopt(SO_BROADCAST)");
  }
}

void TCustomWSocket::RegisterEvents(long events, const char* function_name) {
  select_events_ = events;
  if (platform::WsAsyncSelect(hsocket_, window_.get(), WM_ASYNCSELECT, events) != 0) {
    SocketError(function_name);
  }
}

void TCustomWSocket::Connect() {
  if (hsocket_ != INVALID_SOCKET && state_ != wsClosed) {
    return RaiseException("Connect: Socket already in use");
  }
  if (!port_.assigned) return RaiseException("Connect: No Port Specified");
  if (!addr_.assigned) return RaiseException("Connect: No IP Address Specified");
  if (!proto_.assigned) return RaiseException("Connect: No Protocol Specified");
  if (!ResolveOrReport("connect: ")) return;
  DeleteBufferedData();
  hsocket_ = platform::WsSocket(sock_type_, proto_number_);
  if (hsocket_ == INVALID_SOCKET) return SocketError("Connect (socket)");
  ChangeState(wsOpened);
  if (state_ != wsOpened) {
    platform::WsSetLastError(platform::WSAEINVAL);
    return SocketError("Connect (Invalid operation in OnChangeState)");
  }
  if (sock_type_ == SOCK_STREAM) {
    SetupStreamSocket();
  } else {
    SetupDatagramSocket();
  }
  RegisterEvents(kConnectEvents, "WSAAsyncSelect");
  if (sock_type_ == SOCK_DGRAM) {
    ChangeState(wsConnected);
    TriggerSessionConnected(0);
    return;
  }
  if (platform::WsConnect(hsocket_, sin_) == 0 ||
      platform::WsGetLastError() == platform::WSAEWOULDBLOCK) {
    ChangeState(wsConnecting);
    return;
  }
  last_error_ = platform::WsGetLastError();
  SocketError("Connect");
}

// Listening -------------------------------------------------------------------------

void TCustomWSocket::Listen() {
  const auto fail_invalid = [this](const char* message) {
    last_error_ = platform::WSAEINVAL;
    platform::WsSetLastError(platform::WSAEINVAL);
    RaiseException(message);
  };
  if (!port_.assigned) return fail_invalid("listen: port not assigned");
  if (!proto_.assigned) return fail_invalid("listen: protocol not assigned");
  if (!addr_.assigned) return fail_invalid("listen: address not assigned");
  if (!ResolveOrReport("listen: ")) return;
  hsocket_ = platform::WsSocket(sock_type_, proto_number_);
  if (hsocket_ == INVALID_SOCKET) return SocketError("socket");
  ChangeState(wsOpened);
  if (sock_type_ == SOCK_DGRAM && reuse_addr_) {
    SetOption(SOL_SOCKET, SO_REUSEADDR, 1, "setsockopt(SO_REUSEADDR)");
  }
  if (platform::WsBind(hsocket_, sin_) != 0) {
    SocketError("Bind");
    Close();
    return;
  }
  ChangeState(wsBound);
  if (sock_type_ == SOCK_DGRAM && multi_cast_) {
    ip_mreq request{};
    request.imr_multiaddr.s_addr = WSocketResolveHost(multi_cast_addr_str_);
    request.imr_interface.s_addr = sin_.sin_addr.s_addr;
    if (platform::WsSetSockOpt(hsocket_, IPPROTO_IP, IP_ADD_MEMBERSHIP, &request, sizeof request) != 0) {
      SocketError("setsockopt(IP MULTICAST)");
    }
  }
  if (sock_type_ == SOCK_STREAM) {
    if (platform::WsListen(hsocket_, 5) != 0) return SocketError("Listen");
    ChangeState(wsListening);
    RegisterEvents(kListenEvents, "WSAASyncSelect");
  } else if (sock_type_ == SOCK_DGRAM) {
    ChangeState(wsListening);
    ChangeState(wsConnected);
    TriggerSessionConnected(0);
    RegisterEvents(kListenEvents, "WSAASyncSelect");
  } else {
    RaiseException("Listen: unexpected protocol.");
  }
}

TSocket TCustomWSocket::Accept() {
  if (state_ != wsListening) {
    platform::WsSetLastError(platform::WSAEINVAL);
    SocketError("not a listening socket");
    return INVALID_SOCKET;
  }
  const TSocket accepted = platform::WsAccept(hsocket_, nullptr);
  if (accepted == INVALID_SOCKET) last_error_ = platform::WsGetLastError();
  return accepted;
}

void TCustomWSocket::Dup(TSocket new_handle) {
  if (new_handle == 0 || new_handle == INVALID_SOCKET) {
    platform::WsSetLastError(platform::WSAEINVAL);
    return SocketError("Dup");
  }
  if (hsocket_ != INVALID_SOCKET) {
    const bool failed = platform::WsCloseSocket(hsocket_) != 0;
    hsocket_ = INVALID_SOCKET;
    if (failed) return SocketError("Dup (closesocket)");
  }
  hsocket_ = new_handle;
  sock_type_ = SOCK_STREAM;
  close_invoked_ = false;
  ApplyLinger();
  RegisterEvents(kDupEvents, "WSAAsyncSelect");
  ChangeState(wsConnected);
}

// Sending ---------------------------------------------------------------------------

void TCustomWSocket::DeleteBufferedData() {
  buffer_list_.clear();
  all_sent_ = true;
}

void TCustomWSocket::AppendToBuffers(const std::byte* data, int length) {
  if (buffer_list_.empty()) buffer_list_.emplace_back(buf_size_);
  while (length > 0) {
    const int written = buffer_list_.back().Write({data, static_cast<std::size_t>(length)});
    data += written;
    length -= written;
    if (length > 0) buffer_list_.emplace_back(buf_size_);
  }
}

int TCustomWSocket::RealSend(const void* data, int length) {
  const int flags = send_flags_ == wsSendUrgent ? MSG_OOB : 0;
  if (sock_type_ == SOCK_DGRAM) return platform::WsSendTo(hsocket_, data, length, flags, sin_);
  return platform::WsSend(hsocket_, data, length, flags);
}

// Sends what the chain holds: one block at a time for datagrams (each block is one
// datagram) and urgent data, and up to kMaxSendParts blocks in one call for streams, so
// that the stack sees large writes (a peer's delayed acknowledgements make a stream of
// 1460-byte writes crawl). True when the caller should go on with the chain; false when
// the network is full, the socket went, or the chain is done.
bool TCustomWSocket::SendFromChain() {
  while (buffer_list_.front().Peek().empty()) {
    if (buffer_list_.size() == 1) {
      all_sent_ = true;
      return false;
    }
    buffer_list_.pop_front();
  }
  std::array<std::span<const std::byte>, platform::kMaxSendParts> parts;
  std::size_t count = 0, total = 0;
  const bool one_block = sock_type_ != SOCK_STREAM || send_flags_ == wsSendUrgent;
  for (const TBuffer& buffer : buffer_list_) {
    if (count == parts.size() || (one_block && count == 1)) break;
    if (buffer.Peek().empty()) continue;
    parts[count++] = buffer.Peek();
    total += buffer.Peek().size();
  }
  const int sent = one_block ? RealSend(parts[0].data(), static_cast<int>(parts[0].size()))
                             : platform::WsSendV(hsocket_, {parts.data(), count}, 0);
  if (sent > 0) {
    RemoveSent(sent);
    if (OnSendData) OnSendData(*this, sent);
    return static_cast<std::size_t>(sent) == total && hsocket_ != INVALID_SOCKET &&
           !buffer_list_.empty();
  }
  if (sent == 0) return false;
  const int error = platform::WsGetLastError();
  if (error == platform::WSAEWOULDBLOCK) return false;
  if (IsCloseError(error)) {
    close_invoked_ = true;
    InternalClose(false, static_cast<Word>(error));
    TriggerSessionClosed(static_cast<Word>(error));
    return false;
  }
  SocketError("TryToSend failed");
  return false;
}

// Emptied blocks are freed, except the last, which is reused from its start.
void TCustomWSocket::RemoveSent(int count) {
  while (count > 0 && !buffer_list_.empty()) {
    count -= buffer_list_.front().Remove(count);
    if (buffer_list_.front().Peek().empty() && buffer_list_.size() > 1) buffer_list_.pop_front();
  }
}

void TCustomWSocket::TryToSend() {
  if (hsocket_ == INVALID_SOCKET || buffer_list_.empty()) return;
  while (SendFromChain()) {
  }
}

int TCustomWSocket::Send(const void* data, int length) {
  if (state_ != wsConnected) {
    platform::WsSetLastError(platform::WSAENOTCONN);
    SocketError("Send");
    return -1;
  }
  if (length <= 0) return 0;
  all_sent_ = false;
  AppendToBuffers(static_cast<const std::byte*>(data), length);
  TryToSend();
  if (all_sent_) {
    window_->PostMessage(WM_ASYNCSELECT, hsocket_, platform::WSAMakeSelectReply(platform::FD_WRITE, 0));
  }
  return length;
}

int TCustomWSocket::SendText(const std::string& text) {
  if (text.empty()) return 0;
  return Send(text.data(), static_cast<int>(text.size()));
}

int TCustomWSocket::SendTo(const sockaddr_in& to, const void* data, int length) {
  const int sent = platform::WsSendTo(hsocket_, data, length, send_flags_ == wsSendUrgent ? MSG_OOB : 0,
                                      to);
  if (sent < 0) last_error_ = platform::WsGetLastError();
  return sent;
}

void TCustomWSocket::Flush() {
  while (hsocket_ != INVALID_SOCKET && !all_sent_) {
    TryToSend();
    if (hsocket_ != INVALID_SOCKET && !all_sent_) WaitForNextEvent();
  }
}

// Receiving -------------------------------------------------------------------------

int TCustomWSocket::DoRecv(void* buffer, int size, int flags) {
  const int received = platform::WsRecv(hsocket_, buffer, size, flags);
  if (received < 0) {
    last_error_ = platform::WsGetLastError();
  } else {
    read_count_ += received;
  }
  return received;
}

int TCustomWSocket::DoRecvFrom(void* buffer, int size, int flags, sockaddr_in& from) {
  const int received = platform::WsRecvFrom(hsocket_, buffer, size, flags, &from);
  if (received < 0) {
    last_error_ = platform::WsGetLastError();
  } else {
    read_count_ += received;
  }
  return received;
}

int TCustomWSocket::Receive(void* buffer, int size) {
  const int received = DoRecv(buffer, size, 0);
  if (received > 0) ++receive_progress_;
  return received;
}

int TCustomWSocket::ReceiveFrom(void* buffer, int size, sockaddr_in& from) {
  const int received = DoRecvFrom(buffer, size, 0, from);
  if (received > 0) ++receive_progress_;
  return received;
}

std::string TCustomWSocket::ReceiveText() {
  int count = GetRcvdCount();
  if (count < 0) return {};
  if (count == 0) count = 255;
  std::string text(static_cast<std::size_t>(count), '\0');
  const int received = Receive(text.data(), count);
  if (received <= 0) return {};
  text.resize(static_cast<std::size_t>(received));
  return text;
}

int TCustomWSocket::GetRcvdCount() {
  unsigned long waiting = 0;
  if (platform::WsIoctlFionread(hsocket_, &waiting) != 0) {
    SocketError("ioctlSocket");
    return -1;
  }
  return static_cast<int>(waiting);
}

// Closing ---------------------------------------------------------------------------

void TCustomWSocket::Close() { InternalClose(true, 0); }

void TCustomWSocket::PostClose() { window_->PostMessage(WM_CLOSE_DELAYED); }

void TCustomWSocket::Release(std::unique_ptr<TCustomWSocket> socket) {
  TCustomWSocket* raw = socket.get();
  raw->self_owner_ = std::move(socket);
  raw->window_->PostMessage(WM_WSOCKET_RELEASE);
}

// An abort must end with the socket closed: failures on the way there are dropped.
void TCustomWSocket::Abort() {
  try {
    CancelDnsLookup();
  } catch (const ESocketException&) {
  }
  DeleteBufferedData();
  if (state_ == wsConnected && sock_type_ == SOCK_STREAM && hsocket_ != INVALID_SOCKET) {
    linger_on_off_ = wsLingerOff;
    try {
      ApplyLinger();
    } catch (const ESocketException&) {
    }
  }
  InternalClose(false, 0);
}

void TCustomWSocket::InternalClose(bool shutdown_first, Word error) {
  if (hsocket_ == INVALID_SOCKET) {
    if (state_ != wsClosed) {
      ChangeState(wsClosed);
      AssignDefaultValue();
    }
    return;
  }
  if (shutdown_first) platform::WsShutdown(hsocket_, SHUT_WR);
  if (platform::WsCloseSocket(hsocket_) != 0) {
    hsocket_ = INVALID_SOCKET;
    if (platform::WsGetLastError() != platform::WSANOTINITIALISED) {
      SocketError("Disconnect (closesocket)");
    }
  }
  hsocket_ = INVALID_SOCKET;
  if (state_ != wsClosed) ChangeState(wsClosed);
  if (!destroying_ && !close_invoked_) {
    close_invoked_ = true;
    TriggerSessionClosed(error);
  }
  try {
    AssignDefaultValue();
  } catch (const ESocketException&) {
    // The connection is closed; defaults that cannot be restored change nothing of that.
  }
}

void TCustomWSocket::Shutdown(int how) {
  if (hsocket_ != INVALID_SOCKET) platform::WsShutdown(hsocket_, how);
}

void TCustomWSocket::Pause() {
  paused_ = true;
  if (hsocket_ != INVALID_SOCKET) platform::WsAsyncSelect(hsocket_, window_.get(), WM_ASYNCSELECT, 0);
}

void TCustomWSocket::Resume() {
  paused_ = false;
  if (hsocket_ != INVALID_SOCKET) {
    platform::WsAsyncSelect(hsocket_, window_.get(), WM_ASYNCSELECT, select_events_);
  }
}

// Waiting ---------------------------------------------------------------------------

void TCustomWSocket::PumpMessages() { Loop().ProcessMessages(); }

void TCustomWSocket::WaitForNextEvent() { Loop().RunOnce(); }

void TCustomWSocket::WaitUntilClosed() {
  while (hsocket_ != INVALID_SOCKET && state_ != wsClosed) {
    PumpMessages();
    if (hsocket_ == INVALID_SOCKET || state_ == wsClosed) break;
    unsigned long waiting = 0;
    if (platform::WsIoctlFionread(hsocket_, &waiting) != 0) break;
    if (waiting > 0) TriggerDataAvailable(0);
    if (hsocket_ == INVALID_SOCKET || state_ == wsClosed) break;
    char probe;
    if (platform::WsRecv(hsocket_, &probe, 0, 0) < 0 &&
        platform::WsGetLastError() != platform::WSAEWOULDBLOCK) {
      last_error_ = platform::WsGetLastError();
      break;
    }
    WaitForNextEvent();
  }
}

// Peer and local names --------------------------------------------------------------

std::string TCustomWSocket::GetPeerAddr() {
  sockaddr_in peer{};
  if (state_ != wsConnected || platform::WsGetPeerName(hsocket_, &peer) != 0) return "error";
  return WSocketIpToStr(peer.sin_addr.s_addr);
}

std::string TCustomWSocket::GetPeerPort() {
  sockaddr_in peer{};
  if (state_ != wsConnected || platform::WsGetPeerName(hsocket_, &peer) != 0) return "error";
  return std::to_string(ntohs(peer.sin_port));
}

std::string TCustomWSocket::GetXPort() {
  sockaddr_in local{};
  if (hsocket_ == INVALID_SOCKET || platform::WsGetSockName(hsocket_, &local) != 0) return "error";
  return std::to_string(ntohs(local.sin_port));
}

std::string TCustomWSocket::GetXAddr() {
  sockaddr_in local{};
  if (hsocket_ == INVALID_SOCKET || platform::WsGetSockName(hsocket_, &local) != 0) return "error";
  return WSocketIpToStr(local.sin_addr.s_addr);
}

}  // namespace tessival::net
