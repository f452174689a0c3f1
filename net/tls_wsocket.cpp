#include "net/tls_wsocket.h"

#include <cstdlib>

#include "platform/wsock_errors.h"

namespace tessival::net {
namespace {

// What Receive is told waits when the engine holds data: a record's worth at most.
constexpr int kPlaintextChunk = 16384;

std::string DefaultCaFile() {
  const char* file = std::getenv(kTlsCaFileVariable);
  return file != nullptr ? file : "";
}

}  // namespace

TCustomTlsWSocket::TCustomTlsWSocket() : TCustomSocksWSocket() {
  tls_settings_.ca_file = DefaultCaFile();
}

TCustomTlsWSocket::TCustomTlsWSocket(platform::MessageLoop& loop) : TCustomSocksWSocket(loop) {
  tls_settings_.ca_file = DefaultCaFile();
}

TCustomTlsWSocket::~TCustomTlsWSocket() = default;

void TCustomTlsWSocket::SetTlsEnabled(bool value) {
  if (value == tls_enabled_) return;
  if (State() != wsClosed) return RaiseException("Can't switch TLS if not closed");
  tls_enabled_ = value;
}

void TCustomTlsWSocket::SetTlsServerName(const std::string& value) {
  if (value == tls_server_name_) return;
  if (State() != wsClosed) return RaiseException("Can't change the TLS server name if not closed");
  tls_server_name_ = value;
}

// Closing restores the defaults of a connection; the trust settings are the caller's and
// stay, and so does the last session, for a quick handshake with the same server.
void TCustomTlsWSocket::AssignDefaultValue() {
  TCustomSocksWSocket::AssignDefaultValue();
  KeepResumption();
  session_.reset();
  tls_enabled_ = false;
  tls_server_name_.clear();
  closing_ourselves_ = false;
}

const TlsContext& TCustomTlsWSocket::Context() {
  if (!context_ || context_->settings() != tls_settings_) {
    resumption_.reset();  // verified under other settings: not to be trusted now
    context_ = std::make_unique<TlsContext>(tls_settings_);
  }
  return *context_;
}

void TCustomTlsWSocket::KeepResumption() {
  if (!session_ || session_key_.empty()) return;
  if (TlsResumption taken = session_->TakeResumption()) {
    resumption_ = std::move(taken);
    resumption_server_ = session_key_;
  }
}

// Connecting ------------------------------------------------------------------------

void TCustomTlsWSocket::TriggerSocksSessionConnected(Word error) {
  if (!tls_enabled_ || error != 0) return TCustomSocksWSocket::TriggerSocksSessionConnected(error);
  BeginHandshake();
}

void TCustomTlsWSocket::StartTls() {
  if (State() != wsConnected) return RaiseException("StartTls: not connected");
  tls_enabled_ = true;
  BeginHandshake();
}

void TCustomTlsWSocket::BeginHandshake() {
  const std::string server = tls_server_name_.empty() ? Addr() : tls_server_name_;
  tls_error_.clear();
  tls_resumed_ = false;
  try {
    const TlsContext& context = Context();
    session_key_ = server + ":" + Port();
    ssl_session_st* resume = resumption_server_ == session_key_ ? resumption_.get() : nullptr;
    session_ = std::make_unique<TlsSession>(context, server, resume);
  } catch (const ESocketException& e) {
    return HandshakeFailed(e.what());
  }
  PushCipher();
}

void TCustomTlsWSocket::ContinueHandshake() {
  session_->Handshake();
  PushCipher();
  if (!session_) return;  // sending failed and closed the connection
  if (session_->phase() == TlsPhase::kFailed) return HandshakeFailed(session_->error());
  if (session_->phase() != TlsPhase::kEstablished) return;
  tls_resumed_ = session_->Resumed();
  TCustomSocksWSocket::TriggerSocksSessionConnected(0);
  // Application data may have come with the handshake's last flight.
  if (session_ && State() == wsConnected) OfferPlaintext();
}

// The user hears of the failure as of any connection that could not be made.
void TCustomTlsWSocket::HandshakeFailed(const std::string& reason) {
  tls_error_ = reason;
  session_.reset();
  TCustomSocksWSocket::TriggerSocksSessionConnected(static_cast<Word>(kTlsHandshakeError));
  InternalClose(true, static_cast<Word>(kTlsHandshakeError));
}

void TCustomTlsWSocket::SessionBroken() {
  tls_error_ = session_->error();
  session_.reset();
  InternalClose(true, static_cast<Word>(kTlsProtocolError));
}

// Moving bytes ------------------------------------------------------------------------

bool TCustomTlsWSocket::PullCipher() {
  bool any = false;
  while (session_ && HSocket() != platform::INVALID_SOCKET) {
    const std::span<std::byte> space = session_->CipherSpace();
    if (space.empty()) break;  // full: the plaintext must be read first
    const int received = TCustomSocksWSocket::DoRecv(space.data(), static_cast<int>(space.size()), 0);
    if (received <= 0) break;
    session_->CipherCommitted(static_cast<std::size_t>(received));
    NoteReceived();
    any = true;
    if (static_cast<std::size_t>(received) < space.size()) break;  // the network is drained
  }
  return any;
}

void TCustomTlsWSocket::PushCipher() {
  if (!session_ || !session_->HasCipherToSend()) return;
  const std::vector<std::byte> cipher = session_->TakeCipher();
  if (cipher.empty()) return;
  try {
    TCustomSocksWSocket::Send(cipher.data(), static_cast<int>(cipher.size()));
  } catch (const ESocketException&) {
    // The connection went; its close is reported by the events that follow.
  }
}

int TCustomTlsWSocket::Send(const void* data, int length) {
  if (!session_ || State() != wsConnected) return TCustomSocksWSocket::Send(data, length);
  if (length <= 0) return 0;
  const bool written = session_->Write(
      {static_cast<const std::byte*>(data), static_cast<std::size_t>(length)});
  PushCipher();
  if (!written && session_) SessionBroken();
  return length;
}

bool TCustomTlsWSocket::TriggerDataAvailable(Word error) {
  if (!session_ || offering_ || error != 0) return TCustomSocksWSocket::TriggerDataAvailable(error);
  PullCipher();
  if (Handshaking()) {
    ContinueHandshake();
    return true;
  }
  OfferPlaintext();
  return true;
}

// Offered to the layers above (line mode included) while they take some and the engine
// still holds some: no network event would come for bytes already read from the network.
void TCustomTlsWSocket::OfferPlaintext() {
  offering_ = true;
  while (session_ && State() == wsConnected) {
    const std::uint64_t before = plain_delivered_;
    TriggerDataAvailable(0);  // from the top of the chain; comes back here as offering_
    if (!session_ || plain_delivered_ == before || !session_->HasBufferedInput()) break;
  }
  offering_ = false;
  PushCipher();  // a renegotiation or key update may have answered the server
  if (session_ && session_->phase() == TlsPhase::kFailed) SessionBroken();
}

int TCustomTlsWSocket::DoRecv(void* buffer, int size, int flags) {
  if (!session_ || size <= 0) return TCustomSocksWSocket::DoRecv(buffer, size, flags);
  if (Handshaking()) {
    last_error_ = platform::WSAEWOULDBLOCK;
    return -1;
  }
  const std::span<std::byte> into(static_cast<std::byte*>(buffer), static_cast<std::size_t>(size));
  TlsRead read = session_->Read(into);
  if (read.kind == TlsRead::kWantMore && PullCipher()) read = session_->Read(into);
  switch (read.kind) {
    case TlsRead::kData:
      plain_delivered_ += static_cast<std::uint64_t>(read.count);
      // A reader that takes a little at a time (line mode) would otherwise wait for a
      // network event that never comes for bytes already in the engine.
      if (!offering_ && !offer_posted_ && session_->HasBufferedInput()) {
        offer_posted_ = true;
        Window().PostMessage(WM_TLS_OFFER_PLAINTEXT);
      }
      return read.count;
    case TlsRead::kClosed: return 0;  // the server's close_notify: the end of the data
    case TlsRead::kWantMore: last_error_ = platform::WSAEWOULDBLOCK; return -1;
    case TlsRead::kFailed: break;
  }
  // The broken session is closed by whoever offered the data, once the reader returned.
  last_error_ = platform::WSAECONNABORTED;
  return -1;
}

void TCustomTlsWSocket::HandleWindowMessage(platform::UINT message, platform::WPARAM wparam,
                                            platform::LPARAM lparam) {
  if (message != WM_TLS_OFFER_PLAINTEXT) {
    return TCustomSocksWSocket::HandleWindowMessage(message, wparam, lparam);
  }
  offer_posted_ = false;
  if (TlsEstablished() && !offering_) OfferPlaintext();
}

int TCustomTlsWSocket::GetRcvdCount() {
  if (!session_) return TCustomSocksWSocket::GetRcvdCount();
  if (session_->HasBufferedInput()) return kPlaintextChunk;
  const int waiting = TCustomSocksWSocket::GetRcvdCount();
  return waiting > 0 ? kPlaintextChunk : waiting;
}

void TCustomTlsWSocket::TriggerDataSent(Word error) {
  if (Handshaking()) return;  // the handshake's own bytes are nobody else's business
  TCustomSocksWSocket::TriggerDataSent(error);
}

// Closing ---------------------------------------------------------------------------

// A session ended with close_notify both ways stays good for resumption; one that is
// dropped without it is given up by the library.
void TCustomTlsWSocket::Close() {
  closing_ourselves_ = true;
  if (session_ && (TlsEstablished() || session_->phase() == TlsPhase::kClosed)) {
    session_->Shutdown();
    PushCipher();
  }
  TCustomSocksWSocket::Close();
}

void TCustomTlsWSocket::Abort() {
  closing_ourselves_ = true;
  TCustomSocksWSocket::Abort();
}

// A close from the peer before its close_notify may be an attacker cutting the data
// short; one during the handshake means no session was ever made.
void TCustomTlsWSocket::TriggerSessionClosed(Word error) {
  if (session_ && !closing_ourselves_ && HSocket() != platform::INVALID_SOCKET) {
    if (Handshaking()) {
      PullCipher();
      session_->Handshake();  // an alert that came with the close names the reason
      std::string reason = session_->error();
      if (reason.empty()) reason = "connection closed during the TLS handshake";
      return HandshakeFailed(reason);
    }
    if (TlsEstablished() && error == 0) {
      tls_error_ = "connection closed without TLS close_notify: the data may be incomplete";
      error = static_cast<Word>(kTlsTruncatedError);
    }
  }
  TCustomSocksWSocket::TriggerSessionClosed(error);
}

}  // namespace tessival::net
