#include "net/tls_context.h"

#include "net/socket_exception.h"
#include "net/tls_library.h"

namespace tessival::net {

std::string TakeTlsErrorText() {
  if (!TlsLibraryLoaded()) return std::string();  // nothing can have queued an error yet
  const unsigned long code = TlsLibrary().ERR_get_error();
  TlsLibrary().ERR_clear_error();
  if (code == 0) return std::string();
  const char* reason = TlsLibrary().ERR_reason_error_string(code);
  return reason != nullptr ? reason : "error " + std::to_string(ERR_GET_REASON(code));
}

TlsContext::TlsContext(const TlsSettings& settings)
    : settings_(settings), context_(TlsLibrary().SSL_CTX_new(TlsLibrary().TLS_client_method())) {
  if (context_ == nullptr) throw ESocketException("TLS: " + TakeTlsErrorText());
  // Older protocol versions have known weaknesses; servers of today all speak 1.2 or 1.3.
  TlsLibrary().SSL_CTX_ctrl(context_, SSL_CTRL_SET_MIN_PROTO_VERSION, TLS1_2_VERSION, nullptr);
  TlsLibrary().SSL_CTX_ctrl(context_, SSL_CTRL_MODE, SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER, nullptr);
  // Sessions are kept by the socket for its next connection to the same server.
  TlsLibrary().SSL_CTX_ctrl(context_, SSL_CTRL_SET_SESS_CACHE_MODE,
                            SSL_SESS_CACHE_CLIENT | SSL_SESS_CACHE_NO_INTERNAL_STORE, nullptr);
  const bool verify = settings_.verification == TTlsVerification::kVerifyPeer;
  TlsLibrary().SSL_CTX_set_verify(context_, verify ? SSL_VERIFY_PEER : SSL_VERIFY_NONE, nullptr);
  if (!verify) return;
  if (TlsLibrary().SSL_CTX_set_default_verify_paths(context_) != 1) {
    const std::string reason = TakeTlsErrorText();
    TlsLibrary().SSL_CTX_free(context_);
    throw ESocketException("TLS: can't load the system's certificate store: " + reason);
  }
  if (!settings_.ca_file.empty() &&
      TlsLibrary().SSL_CTX_load_verify_locations(context_, settings_.ca_file.c_str(), nullptr) != 1) {
    const std::string reason = TakeTlsErrorText();
    TlsLibrary().SSL_CTX_free(context_);
    throw ESocketException("TLS: can't load the authority file " + settings_.ca_file + ": " + reason);
  }
}

TlsContext::~TlsContext() { TlsLibrary().SSL_CTX_free(context_); }

}  // namespace tessival::net
