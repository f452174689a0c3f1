#pragma once
// TlsContext: what every TLS connection of one socket shares: the trusted authorities (the
// system store plus an optional extra file), whether the server must prove who it is, and
// the protocol range (TLS 1.2 and 1.3 only). Loading the system store costs milliseconds,
// so a socket keeps its context from one connection to the next and makes a new one only
// when a setting changes.
#include <memory>
#include <string>

struct ssl_ctx_st;
struct ssl_session_st;

namespace tessival::net {

enum class TTlsVerification { kVerifyPeer, kInsecure };

// The environment variable naming an extra authority file (PEM) that every socket trusts
// besides the system store: for a company proxy that re-signs traffic, and for the tests.
constexpr const char* kTlsCaFileVariable = "TESSIVAL_CA_FILE";

struct TlsSettings {
  std::string ca_file;  // extra authorities; empty: the system store only
  TTlsVerification verification = TTlsVerification::kVerifyPeer;
  bool operator==(const TlsSettings&) const = default;
};

class TlsContext {
 public:
  // Raises ESocketException when the extra authority file cannot be read: a user who named
  // one must not silently go on without it.
  explicit TlsContext(const TlsSettings& settings);
  ~TlsContext();
  TlsContext(const TlsContext&) = delete;
  TlsContext& operator=(const TlsContext&) = delete;

  const TlsSettings& settings() const { return settings_; }
  ssl_ctx_st* get() const { return context_; }

 private:
  TlsSettings settings_;
  ssl_ctx_st* context_ = nullptr;
};

// The text of the oldest error OpenSSL queued on this thread ("" when none), the queue
// then emptied.
std::string TakeTlsErrorText();

}  // namespace tessival::net
