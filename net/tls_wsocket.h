#pragma once
// TCustomTlsWSocket: with TLS switched on, the connection below (direct or through SOCKS)
// carries a TLS session. The handshake runs on the socket's own events once the connection
// below is made, and only then is the session reported as connected; from there Send
// encrypts and Receive decrypts, so the layers above see plain bytes. Nothing blocks and
// nothing polls: server bytes are read when the network reports them and fed to the TLS
// engine's memory buffers; the engine's output goes out through the send chain.
//
// Failures use the paths every connection failure uses: a failed handshake is the
// session-connected event with error kTlsHandshakeError, a broken session later is the
// session closing with kTlsProtocolError, and a peer that closes the connection without
// TLS's closing message (which an attacker can forge by cutting the connection) is the
// session closing with kTlsTruncatedError. TlsErrorText() says why.
#include <cstdint>
#include <memory>
#include <string>

#include "net/socks_wsocket.h"
#include "net/tls_context.h"
#include "net/tls_session.h"

namespace tessival::net {

// Message on the socket's window: offer the plaintext the engine still holds.
constexpr platform::UINT WM_TLS_OFFER_PLAINTEXT = platform::WM_USER + 21;  // 1045

constexpr int kTlsHandshakeError = 20101;
constexpr int kTlsProtocolError = 20102;
constexpr int kTlsTruncatedError = 20103;

class TCustomTlsWSocket : public TCustomSocksWSocket {
 public:
  TCustomTlsWSocket();
  explicit TCustomTlsWSocket(platform::MessageLoop& loop);
  ~TCustomTlsWSocket() override;

  // Whether the next connection runs TLS. Only while closed.
  bool TlsEnabled() const { return tls_enabled_; }
  void SetTlsEnabled(bool value);
  // The host the certificate must be issued to (a name, or an address); sent as server
  // name indication when it is a name. Only while closed.
  const std::string& TlsServerName() const { return tls_server_name_; }
  void SetTlsServerName(const std::string& value);
  // An extra authority file trusted besides the system store; by default the file the
  // environment variable kTlsCaFileVariable names.
  const std::string& TlsCaFile() const { return tls_settings_.ca_file; }
  void SetTlsCaFile(const std::string& value) { tls_settings_.ca_file = value; }
  TTlsVerification TlsVerification() const { return tls_settings_.verification; }
  void SetTlsVerification(TTlsVerification value) { tls_settings_.verification = value; }
  // Why the last TLS session failed, in the library's words.
  const std::string& TlsErrorText() const { return tls_error_; }
  // Whether the last handshake took up the session of an earlier connection.
  bool TlsResumed() const { return tls_resumed_; }
  // True between the end of the handshake and the close.
  bool TlsEstablished() const { return session_ && session_->phase() == TlsPhase::kEstablished; }

  // Starts TLS on a connection that is already made (after an HTTP proxy opened a
  // tunnel); the end of the handshake is reported as the session connecting again.
  void StartTls();

  int Send(const void* data, int length) override;
  void Close() override;
  void Abort() override;

 protected:
  void AssignDefaultValue() override;
  void TriggerSocksSessionConnected(Word error) override;
  bool TriggerDataAvailable(Word error) override;
  void TriggerSessionClosed(Word error) override;
  void TriggerDataSent(Word error) override;
  int DoRecv(void* buffer, int size, int flags) override;
  int GetRcvdCount() override;
  void HandleWindowMessage(platform::UINT message, platform::WPARAM wparam,
                           platform::LPARAM lparam) override;
  bool Negotiating() const { return TCustomSocksWSocket::Negotiating() || Handshaking(); }

 private:
  bool Handshaking() const { return session_ && session_->phase() == TlsPhase::kHandshaking; }
  void BeginHandshake();
  const TlsContext& Context();
  // Reads what the network holds into the engine; false when nothing came.
  bool PullCipher();
  void PushCipher();
  void ContinueHandshake();
  void HandshakeFailed(const std::string& reason);
  void SessionBroken();
  void OfferPlaintext();
  void KeepResumption();

  bool tls_enabled_ = false;
  std::string tls_server_name_;
  TlsSettings tls_settings_;
  std::unique_ptr<TlsContext> context_;
  std::unique_ptr<TlsSession> session_;
  std::string tls_error_;
  bool closing_ourselves_ = false;
  bool tls_resumed_ = false;
  bool offering_ = false;
  bool offer_posted_ = false;          // OfferPlaintext is handing data to the layers above
  std::uint64_t plain_delivered_ = 0;  // plaintext bytes handed out so far
  std::string session_key_;            // server name and port of the running session
  // The last session with a server, offered again on the next connection to it.
  TlsResumption resumption_;
  std::string resumption_server_;
};

}  // namespace tessival::net
