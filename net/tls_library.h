#pragma once
// TlsLibrary: the TLS functions the engine calls, taken from the system's OpenSSL the first
// time a secure connection is asked for. Most runs of the program only speak plain HTTP;
// linking OpenSSL would load and relocate its two large libraries at every start (about
// 1.7 MB resident) for nothing.
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

namespace tessival::net {

// The library's file name: OpenSSL keeps this name for as long as its interface stays (3.x).
constexpr const char* kTlsLibraryFile = "libssl.so.3";

// One entry per function used; the types are the library's own declarations, so a call
// through the table is checked like a direct call.
// clang-format off
#define TESSIVAL_TLS_FUNCTIONS(X) \
  X(BIO_ctrl_pending) X(BIO_free) X(BIO_new_bio_pair) X(BIO_nread) X(BIO_nread0) X(BIO_nwrite) \
  X(BIO_nwrite0) X(ERR_clear_error) X(ERR_get_error) X(ERR_reason_error_string) X(SSL_CTX_ctrl) \
  X(SSL_CTX_free) X(SSL_CTX_load_verify_locations) X(SSL_CTX_new) \
  X(SSL_CTX_set_default_verify_paths) X(SSL_CTX_set_verify) X(SSL_SESSION_free) \
  X(SSL_SESSION_is_resumable) X(SSL_ctrl) X(SSL_do_handshake) X(SSL_free) X(SSL_get0_param) \
  X(SSL_get1_session) X(SSL_get_error) X(SSL_get_rbio) X(SSL_get_verify_result) X(SSL_new) \
  X(SSL_pending) X(SSL_read) X(SSL_session_reused) X(SSL_set1_host) X(SSL_set_bio) \
  X(SSL_set_connect_state) X(SSL_set_session) X(SSL_shutdown) X(SSL_write) X(TLS_client_method) \
  X(X509_VERIFY_PARAM_set1_ip_asc) X(X509_verify_cert_error_string)
// clang-format on

struct TlsFunctions {
// The member takes the function's own name, which cannot be put in parentheses.
#define TESSIVAL_TLS_POINTER(name) \
  decltype(&::name) name = nullptr;  // NOLINT(bugprone-macro-parentheses)
  TESSIVAL_TLS_FUNCTIONS(TESSIVAL_TLS_POINTER)
#undef TESSIVAL_TLS_POINTER
};

// Loads the library on the first call (once per process, safe from any thread) and hands
// out its functions. Raises ESocketException when it is missing or lacks a function, so a
// secure connection fails with the reason while plain connections go on working.
const TlsFunctions& TlsLibrary();

// True once TlsLibrary loaded it (for the checks that start-up leaves it alone).
bool TlsLibraryLoaded();

}  // namespace tessival::net
