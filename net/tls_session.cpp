#include "net/tls_session.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "net/socket_exception.h"
#include "net/tls_library.h"

namespace tessival::net {
namespace {

// The engine's buffers on either side of the BIO pair: room for several records each way,
// so one network read fills it with many records and a read of plaintext drains them.
constexpr std::size_t kIncomingRoom = 256 * 1024;
constexpr std::size_t kOutgoingRoom = 64 * 1024;

bool IsIpAddress(const std::string& host) {
  in_addr v4{};
  in6_addr v6{};
  return inet_pton(AF_INET, host.c_str(), &v4) == 1 || inet_pton(AF_INET6, host.c_str(), &v6) == 1;
}

}  // namespace

void SslSessionFree::operator()(ssl_session_st* session) const {
  TlsLibrary().SSL_SESSION_free(session);
}

TlsSession::TlsSession(const TlsContext& context, const std::string& server_name,
                       ssl_session_st* resume) {
  TlsLibrary().ERR_clear_error();
  ssl_ = TlsLibrary().SSL_new(context.get());
  BIO* engine_side = nullptr;
  if (ssl_ == nullptr ||
      TlsLibrary().BIO_new_bio_pair(&engine_side, kOutgoingRoom, &network_side_, kIncomingRoom) != 1) {
    TlsLibrary().SSL_free(ssl_);
    throw ESocketException("TLS: " + TakeTlsErrorText());
  }
  TlsLibrary().SSL_set_bio(ssl_, engine_side, engine_side);
  // The certificate must be issued to the host the user asked for: a name is checked
  // against the certificate's names, an address against its address entries. Only names
  // go out as server name indication; addresses are not allowed there.
  if (IsIpAddress(server_name)) {
    TlsLibrary().X509_VERIFY_PARAM_set1_ip_asc(TlsLibrary().SSL_get0_param(ssl_), server_name.c_str());
  } else {
    TlsLibrary().SSL_ctrl(ssl_, SSL_CTRL_SET_TLSEXT_HOSTNAME, TLSEXT_NAMETYPE_host_name,
                          const_cast<char*>(server_name.c_str()));
    TlsLibrary().SSL_set1_host(ssl_, server_name.c_str());
  }
  if (resume != nullptr) TlsLibrary().SSL_set_session(ssl_, resume);
  TlsLibrary().SSL_set_connect_state(ssl_);
  Handshake();  // produces the client's first flight
}

TlsSession::~TlsSession() {
  TlsLibrary().SSL_free(ssl_);  // frees the engine's side of the pair
  TlsLibrary().BIO_free(network_side_);
}

std::span<std::byte> TlsSession::CipherSpace() {
  char* space = nullptr;
  const ossl_ssize_t room = TlsLibrary().BIO_nwrite0(network_side_, &space);
  if (room <= 0) return {};
  return {reinterpret_cast<std::byte*>(space), static_cast<std::size_t>(room)};
}

void TlsSession::CipherCommitted(std::size_t count) {
  if (count == 0) return;
  char* unused = nullptr;
  TlsLibrary().BIO_nwrite(network_side_, &unused, static_cast<int>(count));
}

std::size_t TlsSession::FeedCipher(std::span<const std::byte> bytes) {
  std::size_t taken = 0;
  while (taken < bytes.size()) {
    const std::span<std::byte> space = CipherSpace();
    if (space.empty()) break;
    const std::size_t count = std::min(space.size(), bytes.size() - taken);
    std::memcpy(space.data(), bytes.data() + taken, count);
    CipherCommitted(count);
    taken += count;
  }
  return taken;
}

void TlsSession::CollectOutgoing() {
  for (;;) {
    char* data = nullptr;
    const ossl_ssize_t count = TlsLibrary().BIO_nread0(network_side_, &data);
    if (count <= 0) return;
    const auto* bytes = reinterpret_cast<const std::byte*>(data);
    outgoing_.insert(outgoing_.end(), bytes, bytes + count);
    TlsLibrary().BIO_nread(network_side_, &data, static_cast<int>(count));
  }
}

std::vector<std::byte> TlsSession::TakeCipher() {
  CollectOutgoing();
  return std::exchange(outgoing_, {});
}

void TlsSession::Fail(int ssl_result) {
  phase_ = TlsPhase::kFailed;
  const int error = TlsLibrary().SSL_get_error(ssl_, ssl_result);
  std::string reason = TakeTlsErrorText();
  if (reason.empty()) {
    reason = error == SSL_ERROR_SYSCALL || error == SSL_ERROR_ZERO_RETURN
                 ? "connection closed during the TLS handshake"
                 : "TLS error " + std::to_string(error);
  }
  const long verify = TlsLibrary().SSL_get_verify_result(ssl_);
  if (verify != X509_V_OK)
    reason += std::string(": ") + TlsLibrary().X509_verify_cert_error_string(verify);
  error_ = reason;
}

bool TlsSession::Handshake() {
  if (phase_ != TlsPhase::kHandshaking) return phase_ == TlsPhase::kEstablished;
  TlsLibrary().ERR_clear_error();
  const int result = TlsLibrary().SSL_do_handshake(ssl_);
  CollectOutgoing();
  if (result == 1) {
    phase_ = TlsPhase::kEstablished;
    if (!WritePending()) return false;
    return true;
  }
  const int error = TlsLibrary().SSL_get_error(ssl_, result);
  if (error != SSL_ERROR_WANT_READ && error != SSL_ERROR_WANT_WRITE) Fail(result);
  return false;
}

TlsRead TlsSession::Read(std::span<std::byte> buffer) {
  if (phase_ == TlsPhase::kClosed) return {TlsRead::kClosed};
  if (phase_ == TlsPhase::kFailed) return {TlsRead::kFailed};
  if (phase_ == TlsPhase::kHandshaking && !Handshake()) {
    return {phase_ == TlsPhase::kFailed ? TlsRead::kFailed : TlsRead::kWantMore};
  }
  // One call hands out one record at most; the caller's buffer is filled from as many
  // records as are complete, so a large read costs one call up here.
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    TlsLibrary().ERR_clear_error();
    const int room = static_cast<int>(std::min<std::size_t>(buffer.size() - filled, 1 << 30));
    const int result = TlsLibrary().SSL_read(ssl_, buffer.data() + filled, room);
    CollectOutgoing();  // a renegotiation or key update may answer the server
    if (result > 0) {
      filled += static_cast<std::size_t>(result);
      continue;
    }
    const int error = TlsLibrary().SSL_get_error(ssl_, result);
    if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) break;
    if (error == SSL_ERROR_ZERO_RETURN) {
      phase_ = TlsPhase::kClosed;
    } else {
      Fail(result);
    }
    break;
  }
  if (filled > 0) return {TlsRead::kData, static_cast<int>(filled)};
  if (phase_ == TlsPhase::kClosed) return {TlsRead::kClosed};
  if (phase_ == TlsPhase::kFailed) return {TlsRead::kFailed};
  if (!pending_plain_.empty()) WritePending();  // a renegotiation may have held it up
  return {TlsRead::kWantMore};
}

bool TlsSession::HasBufferedInput() const {
  return TlsLibrary().SSL_pending(ssl_) > 0 ||
         TlsLibrary().BIO_ctrl_pending(TlsLibrary().SSL_get_rbio(ssl_)) > 0;
}

bool TlsSession::Write(std::span<const std::byte> data) {
  if (phase_ == TlsPhase::kFailed || phase_ == TlsPhase::kClosed) return false;
  pending_plain_.insert(pending_plain_.end(), data.begin(), data.end());
  if (phase_ == TlsPhase::kHandshaking) return true;
  return WritePending();
}

// Writes what waits; the outgoing side is emptied into outgoing_ whenever it is full, so
// only a renegotiation that needs the server's answer can hold the rest back.
bool TlsSession::WritePending() {
  std::size_t written = 0;
  while (written < pending_plain_.size()) {
    TlsLibrary().ERR_clear_error();
    const int count = static_cast<int>(std::min<std::size_t>(pending_plain_.size() - written, 16384));
    const int result = TlsLibrary().SSL_write(ssl_, pending_plain_.data() + written, count);
    CollectOutgoing();
    if (result > 0) {
      written += static_cast<std::size_t>(result);
      continue;
    }
    const int error = TlsLibrary().SSL_get_error(ssl_, result);
    if (error == SSL_ERROR_WANT_WRITE) continue;  // the outgoing side was emptied above
    if (error == SSL_ERROR_WANT_READ) break;
    Fail(result);
    return false;
  }
  pending_plain_.erase(pending_plain_.begin(), pending_plain_.begin() + static_cast<long>(written));
  return true;
}

void TlsSession::Shutdown() {
  if (phase_ != TlsPhase::kEstablished && phase_ != TlsPhase::kClosed) return;
  TlsLibrary().ERR_clear_error();
  TlsLibrary().SSL_shutdown(ssl_);
  TlsLibrary().ERR_clear_error();
  CollectOutgoing();
}

bool TlsSession::Resumed() const { return TlsLibrary().SSL_session_reused(ssl_) == 1; }

TlsResumption TlsSession::TakeResumption() const {
  if (phase_ == TlsPhase::kFailed) return nullptr;
  SSL_SESSION* session = TlsLibrary().SSL_get1_session(ssl_);
  if (session != nullptr && TlsLibrary().SSL_SESSION_is_resumable(session) != 1) {
    TlsLibrary().SSL_SESSION_free(session);
    return nullptr;
  }
  return TlsResumption(session);
}

}  // namespace tessival::net
