#pragma once
// TlsSession: one client connection's TLS engine, without any I/O of its own. Bytes from the
// server go in through FeedCipher, bytes for the server come out through TakeCipher, and
// between them the engine runs the handshake, decrypts into the caller's buffer and
// encrypts what the caller writes. The socket layer drives it from its network events,
// which makes the engine testable and fuzzable without a network.
//
//   kHandshaking -(handshake done, peer verified)-> kEstablished -(close_notify)-> kClosed
//   kHandshaking or kEstablished -(alert, bad record, failed check)-> kFailed
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "net/tls_context.h"

struct ssl_st;
struct bio_st;

namespace tessival::net {

enum class TlsPhase { kHandshaking, kEstablished, kClosed, kFailed };

// What one read of plaintext gave.
struct TlsRead {
  enum Kind { kData, kWantMore, kClosed, kFailed } kind;
  int count = 0;  // bytes of plaintext for kData
};

struct SslSessionFree {
  void operator()(ssl_session_st* session) const;
};
using TlsResumption = std::unique_ptr<ssl_session_st, SslSessionFree>;

class TlsSession {
 public:
  // server_name: the name or address the certificate must be issued to; a name is also
  // sent as the server name indication. resume: a session from an earlier connection to
  // the same server, or null.
  TlsSession(const TlsContext& context, const std::string& server_name, ssl_session_st* resume);
  ~TlsSession();
  TlsSession(const TlsSession&) = delete;
  TlsSession& operator=(const TlsSession&) = delete;

  TlsPhase phase() const { return phase_; }
  // Why the session failed: the library's reason, with the certificate check's when that
  // was the cause ("certificate verify failed: certificate has expired").
  const std::string& error() const { return error_; }

  // Room to receive server bytes into without a copy (empty while the engine is full:
  // read plaintext first); CipherCommitted says how many arrived.
  std::span<std::byte> CipherSpace();
  void CipherCommitted(std::size_t count);
  // Copies as much of bytes as there is room for; returns how many were taken.
  std::size_t FeedCipher(std::span<const std::byte> bytes);
  // Bytes waiting to go to the server, taken out of the engine.
  bool HasCipherToSend() const { return !outgoing_.empty(); }
  std::vector<std::byte> TakeCipher();

  // Moves the handshake on with what was fed; true once it is established.
  bool Handshake();
  // Decrypts into buffer (also answering a renegotiation on the way).
  TlsRead Read(std::span<std::byte> buffer);
  // Bytes fed but not yet handed out (decrypted or still to decrypt).
  bool HasBufferedInput() const;
  // Encrypts all of data for the server (before the handshake ends it waits in the engine
  // and is written once it is done); false when the session failed.
  bool Write(std::span<const std::byte> data);
  // Queues close_notify for the server.
  void Shutdown();
  // True when the handshake took up an earlier session instead of a full exchange.
  bool Resumed() const;
  // The session to offer on the next connection to this server (null when none).
  TlsResumption TakeResumption() const;

 private:
  void Fail(int ssl_result);
  bool WritePending();
  void CollectOutgoing();

  ssl_st* ssl_ = nullptr;
  bio_st* network_side_ = nullptr;  // our end of the BIO pair: cipher in and out
  TlsPhase phase_ = TlsPhase::kHandshaking;
  std::string error_;
  std::vector<std::byte> pending_plain_;  // written before the handshake ended
  std::vector<std::byte> outgoing_;       // cipher for the server
};

}  // namespace tessival::net
