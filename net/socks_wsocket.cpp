#include "net/socks_wsocket.h"

#include "net/wsocket_resolve.h"

namespace tessival::net {

TCustomSocksWSocket::TCustomSocksWSocket() : TCustomWSocket() { AssignDefaultValue(); }
TCustomSocksWSocket::TCustomSocksWSocket(platform::MessageLoop& loop) : TCustomWSocket(loop) {
  AssignDefaultValue();
}

void TCustomSocksWSocket::SetSocksLevel(const std::string& value) {
  if (State() != wsClosed) return RaiseException("Can't change socks level if not closed");
  if (value != "4" && value != "5" && value != "4A" && value != "4a") {
    return RaiseException("Invalid socks level. Must be 4, 4A or 5.");
  }
  socks_level_ = value == "4a" ? "4A" : value;
}

void TCustomSocksWSocket::SetSocksServer(const std::string& value) {
  if (State() != wsClosed) return RaiseException("Can't change socks server if not closed");
  socks_server_ = Trim(value);
}

void TCustomSocksWSocket::SetSocksPort(const std::string& value) {
  if (State() != wsClosed) return RaiseException("Can't change socks port if not closed");
  socks_port_ = Trim(value);
}

void TCustomSocksWSocket::AssignDefaultValue() {
  TCustomWSocket::AssignDefaultValue();
  socks_server_.clear();
  socks_port_.clear();
  socks_level_.assign(1, '5');
  negotiation_.Reset();
  connecting_to_server_ = false;
}

void TCustomSocksWSocket::Listen() {
  if (!socks_server_.empty()) {
    return RaiseException("Listening is not supported thru socks server");
  }
  TCustomWSocket::Listen();
}

void TCustomSocksWSocket::Connect() {
  if (socks_server_.empty()) return TCustomWSocket::Connect();
  if (LowerCase(Proto()) != "tcp") {
    return RaiseException("tcp is the only protocol supported thru socks server");
  }
  try {
    SetRemotePort(WSocketResolvePort(socks_port_, "tcp"));
    sin_.sin_family = AF_INET;
    sin_.sin_addr.s_addr = WSocketResolveHost(socks_server_);
    destination_port_ = WSocketResolvePort(Port(), Proto());
  } catch (const ESocketException& e) {
    return RaiseException(std::string("connect: ") + e.what());
  }
  MarkRemoteResolved();
  negotiation_.Reset();
  connecting_to_server_ = true;
  TCustomWSocket::Connect();
}

void TCustomSocksWSocket::TriggerSessionConnected(Word error) {
  if (!connecting_to_server_) return TriggerSocksSessionConnected(error);
  if (OnSocksConnected) OnSocksConnected(*this, error);
  if (error != 0) {
    connecting_to_server_ = false;
    return TriggerSocksSessionConnected(error);
  }
  SocksRequest request;
  request.level = socks_level_;
  request.user = socks_usercode_;
  request.password = socks_password_;
  request.authentication = socks_authentication_;
  request.host = Addr();
  request.port = destination_port_;
  const SocksOutcome outcome = negotiation_.Start(request, *this);
  connecting_to_server_ = false;
  HandleOutcome(outcome);
}

bool TCustomSocksWSocket::TriggerDataAvailable(Word error) {
  if (!Negotiating()) return TCustomWSocket::TriggerDataAvailable(error);
  if (error != 0) {
    SocksError(error, "data receive error");
    return true;
  }
  if (connecting_to_server_) return true;  // nothing is expected before the connection
  const std::span<std::uint8_t> space = negotiation_.ReceiveSpace();
  if (space.empty()) return true;
  const int received = TCustomWSocket::DoRecv(space.data(), static_cast<int>(space.size()), 0);
  if (received > 0) NoteReceived();
  HandleOutcome(negotiation_.Received(received, *this));
  return true;
}

void TCustomSocksWSocket::HandleOutcome(const SocksOutcome& outcome) {
  switch (outcome.kind) {
    case SocksOutcome::kWait: return;
    case SocksOutcome::kConnected: return SocksIsConnected();
    case SocksOutcome::kError: return SocksError(outcome.error, outcome.text);
  }
}

// The user hears of the connection only now; bytes that came with the reply are offered
// at once, and again while the handler keeps taking them (no network event would come
// for them).
void TCustomSocksWSocket::SocksIsConnected() {
  TriggerSocksSessionConnected(0);
  while (State() == wsConnected) {
    const int before = negotiation_.LeftOverCount();
    TriggerDataAvailable(0);
    const int after = negotiation_.LeftOverCount();
    if (after == 0 || after == before) break;
  }
}

void TCustomSocksWSocket::SocksError(int code, const std::string& text) {
  if (OnSocksError) OnSocksError(*this, code, text);
  negotiation_.Reset();
  connecting_to_server_ = false;
  TriggerSocksSessionConnected(static_cast<Word>(code));
  InternalClose(true, static_cast<Word>(code));
}

void TCustomSocksWSocket::TriggerSessionClosed(Word error) {
  if (negotiation_.State() == SocksState::kAuthReply) AuthState(socksAuthRefused);
  TCustomWSocket::TriggerSessionClosed(error);
}

int TCustomSocksWSocket::DoRecv(void* buffer, int size, int flags) {
  if (negotiation_.LeftOverCount() > 0) return negotiation_.TakeLeftOver(buffer, size);
  return TCustomWSocket::DoRecv(buffer, size, flags);
}

int TCustomSocksWSocket::GetRcvdCount() {
  if (negotiation_.LeftOverCount() > 0) return negotiation_.LeftOverCount();
  return TCustomWSocket::GetRcvdCount();
}

// Errors while sending the requests are left to the events that follow them.
void TCustomSocksWSocket::SendRequest(std::span<const std::uint8_t> bytes) {
  try {
    Send(bytes.data(), static_cast<int>(bytes.size()));
  } catch (const ESocketException&) {
  }
}

void TCustomSocksWSocket::AuthState(TSocksAuthState state) {
  if (OnSocksAuthState) OnSocksAuthState(*this, state);
}

std::uint32_t TCustomSocksWSocket::ResolveSocks4Destination(const std::string& host) {
  return WSocketResolveHost(host);
}

}  // namespace tessival::net
