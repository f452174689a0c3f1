#include "net/tls_context.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include "net/socket_exception.h"

namespace tessival::net {

std::string TakeTlsErrorText() {
  const unsigned long code = ERR_get_error();
  ERR_clear_error();
  if (code == 0) return std::string();
  const char* reason = ERR_reason_error_string(code);
  return reason != nullptr ? reason : "error " + std::to_string(ERR_GET_REASON(code));
}

TlsContext::TlsContext(const TlsSettings& settings)
    : settings_(settings), context_(SSL_CTX_new(TLS_client_method())) {
  if (context_ == nullptr) throw ESocketException("TLS: " + TakeTlsErrorText());
  // Older protocol versions have known weaknesses; servers of today all speak 1.2 or 1.3.
  SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
  SSL_CTX_set_mode(context_, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
  // Sessions are kept by the socket for its next connection to the same server.
  SSL_CTX_set_session_cache_mode(context_, SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE);
  const bool verify = settings_.verification == TTlsVerification::kVerifyPeer;
  SSL_CTX_set_verify(context_, verify ? SSL_VERIFY_PEER : SSL_VERIFY_NONE, nullptr);
  if (!verify) return;
  if (SSL_CTX_set_default_verify_paths(context_) != 1) {
    const std::string reason = TakeTlsErrorText();
    SSL_CTX_free(context_);
    throw ESocketException("TLS: can't load the system's certificate store: " + reason);
  }
  if (!settings_.ca_file.empty() &&
      SSL_CTX_load_verify_locations(context_, settings_.ca_file.c_str(), nullptr) != 1) {
    const std::string reason = TakeTlsErrorText();
    SSL_CTX_free(context_);
    throw ESocketException("TLS: can't load the authority file " + settings_.ca_file + ": " + reason);
  }
}

TlsContext::~TlsContext() { SSL_CTX_free(context_); }

}  // namespace tessival::net
