// Arbitrary server bytes into the TLS engine, three ways. Every run must end with the
// session established, closed or failed with a reason, or still waiting; never with a
// read or write out of bounds, a leak, or plaintext that differs from what was sent.
//
// Input: byte 0 picks the way, byte 1 the size of the pieces the server's bytes come in;
// the rest is
//   way 0: the server's first flight (the handshake path; certificates are not checked);
//   way 1: records after a real handshake with an in-memory server (the record path:
//          headers, lengths, alerts, records that fail their check);
//   way 2: plaintext the in-memory server sends in records of its own, with key updates
//          between them, then close_notify: it must arrive whole and in order.
#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/tls_session.h"

namespace {

using tessival::net::TlsContext;
using tessival::net::TlsPhase;
using tessival::net::TlsRead;
using tessival::net::TlsSession;
using tessival::net::TlsSettings;
using tessival::net::TTlsVerification;

// A server identity made once: an elliptic-curve key and a self-signed certificate.
SSL_CTX* MakeServerContext() {
  EVP_PKEY* key = EVP_EC_gen("P-256");
  X509* certificate = X509_new();
  ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
  X509_gmtime_adj(X509_getm_notBefore(certificate), 0);
  X509_gmtime_adj(X509_getm_notAfter(certificate), 3600);
  X509_set_pubkey(certificate, key);
  X509_NAME* name = X509_get_subject_name(certificate);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("fuzz"),
                             -1, -1, 0);
  X509_set_issuer_name(certificate, name);
  X509_sign(certificate, key, EVP_sha256());
  SSL_CTX* context = SSL_CTX_new(TLS_server_method());
  SSL_CTX_use_certificate(context, certificate);
  SSL_CTX_use_PrivateKey(context, key);
  X509_free(certificate);
  EVP_PKEY_free(key);
  return context;
}

struct Shared {
  TlsContext client{TlsSettings{"", TTlsVerification::kInsecure}};
  SSL_CTX* server = MakeServerContext();
};

Shared& Contexts() {
  static Shared* shared = new Shared;  // lives as long as the process: the fuzzer never ends it
  return *shared;
}

// Reads everything the client can hand out.
void Drain(TlsSession& client, std::string* out) {
  std::byte buffer[700];
  for (;;) {
    const TlsRead read = client.Read(buffer);
    if (read.kind != TlsRead::kData) return;
    if (read.count <= 0 || static_cast<std::size_t>(read.count) > sizeof buffer) std::abort();
    out->append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(read.count));
  }
}

// Feeds bytes in pieces, reading between them as a socket would. What the client answers
// stays in it for the caller to take.
void Feed(TlsSession& client, const std::uint8_t* data, std::size_t size, std::size_t piece,
          std::string* out) {
  while (size > 0) {
    const std::size_t count = std::min(size, piece);
    const std::size_t taken = client.FeedCipher({reinterpret_cast<const std::byte*>(data), count});
    data += taken;
    size -= taken;
    client.Handshake();
    Drain(client, out);
    if (taken == 0 && client.CipherSpace().empty())
      return;  // full and nothing readable: stuck by design
  }
}

// An in-memory server on two memory BIOs, shaking hands with the client.
class Server {
 public:
  Server() : ssl_(SSL_new(Contexts().server)), in_(BIO_new(BIO_s_mem())), out_(BIO_new(BIO_s_mem())) {
    SSL_set_bio(ssl_, in_, out_);
    SSL_set_accept_state(ssl_);
  }
  ~Server() { SSL_free(ssl_); }
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  bool ShakeHands(TlsSession& client) {
    std::string ignored;
    for (int round = 0; round < 10 && client.phase() == TlsPhase::kHandshaking; ++round) {
      Exchange(client, &ignored);
    }
    Exchange(client, &ignored);  // the client's last flight completes the server's side
    return client.phase() == TlsPhase::kEstablished && SSL_is_init_finished(ssl_) == 1;
  }
  void Exchange(TlsSession& client, std::string* out) {
    for (const std::byte b : client.TakeCipher()) BIO_write(in_, &b, 1);
    SSL_do_handshake(ssl_);
    char sink[256];
    while (SSL_read(ssl_, sink, sizeof sink) > 0) {
    }
    std::string bytes(static_cast<std::size_t>(BIO_ctrl_pending(out_)), '\0');
    if (!bytes.empty()) BIO_read(out_, bytes.data(), static_cast<int>(bytes.size()));
    Feed(client, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), bytes.size() + 1,
         out);
  }
  SSL* ssl() const { return ssl_; }

 private:
  SSL* ssl_;
  BIO* in_;
  BIO* out_;
};

void PlaintextRoundTrip(TlsSession& client, Server& server, const std::uint8_t* data, std::size_t size,
                        std::size_t piece) {
  std::string received;
  const std::string sent(reinterpret_cast<const char*>(data), size);
  for (std::size_t at = 0; at < size; at += piece) {
    const std::size_t count = std::min(piece, size - at);
    if (SSL_write(server.ssl(), data + at, static_cast<int>(count)) != static_cast<int>(count))
      std::abort();
    if (data[at] % 7 == 0) SSL_key_update(server.ssl(), SSL_KEY_UPDATE_REQUESTED);
    server.Exchange(client, &received);
  }
  SSL_shutdown(server.ssl());
  server.Exchange(client, &received);
  if (received != sent || client.phase() != TlsPhase::kClosed) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const int way = data[0] % 3;
  const std::size_t piece = 1 + data[1] % 200;
  data += 2;
  size -= 2;
  TlsSession client(Contexts().client, "fuzz.example", nullptr);
  std::string out;
  if (way == 0) {
    client.TakeCipher();
    Feed(client, data, size, piece, &out);
  } else {
    Server server;
    if (!server.ShakeHands(client)) std::abort();  // two healthy peers must agree
    if (way == 1) {
      Feed(client, data, size, piece, &out);
    } else {
      PlaintextRoundTrip(client, server, data, std::min<std::size_t>(size, 4096), piece);
    }
  }
  if (client.phase() == TlsPhase::kFailed && client.error().empty()) std::abort();
  client.Write({reinterpret_cast<const std::byte*>("x"), 1});
  client.Shutdown();
  client.TakeCipher();
  return 0;
}
