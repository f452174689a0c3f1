#pragma once
// The TLS peers of the tests, on 127.0.0.1: a certificate authority and server
// certificates made with the openssl command line once per test process, nginx serving
// the same small site under each certificate (and under TLS 1.0 only) beside a plain HTTP
// server, and a scripted TLS server for what no real server does on demand (closing
// without close_notify).
#include <map>
#include <memory>
#include <string>

#include "peer_process.h"

struct ssl_st;
struct ssl_ctx_st;

namespace tessival::net::testing {

enum class TestCertificate {
  kGood,              // localhost and 127.0.0.1, by the test authority
  kWrongHost,         // wrong.example only
  kExpired,           // localhost and 127.0.0.1, valid in January 2020
  kUnknownAuthority,  // localhost and 127.0.0.1, by an authority nobody trusts
  kSelfSigned,        // localhost and 127.0.0.1, signed by itself
};

class TestAuthority {
 public:
  // Made on first use; ok() is false (with the reason in error()) without openssl.
  static const TestAuthority& Get();
  bool ok() const { return error_.empty(); }
  const std::string& error() const { return error_; }
  std::string ca_file() const;  // the authority to trust
  std::string certificate(TestCertificate which) const;
  std::string key(TestCertificate which) const;

 private:
  TestAuthority();
  bool Make();
  bool Run(const std::string& command_line);
  bool Sign(const std::string& name, const std::string& names, const std::string& authority);

  ScratchFolder folder_{"tessival-tls-authority"};
  std::string error_;
};

// nginx with one TLS server per certificate, one speaking TLS 1.0 only (with the good
// certificate), and a plain HTTP server; all serve the same folder.
class TlsNginxPeer {
 public:
  enum class Server { kGood, kWrongHost, kExpired, kUnknownAuthority, kSelfSigned, kTls10Only };

  TlsNginxPeer();
  bool Start();
  const std::string& error() const { return error_.empty() ? process_.error() : error_; }
  int port(Server server) const { return ports_.at(server); }
  int plain_port() const { return plain_port_; }
  // https://127.0.0.1:port/path (or another host name, which must be localhost to match).
  std::string url(Server server, const std::string& path, const std::string& host = "127.0.0.1") const;
  std::string plain_url(const std::string& path) const;
  void AddFile(const std::string& path, const std::string& content) const;

 private:
  std::string ServerBlock(Server server, const std::string& certificate, const std::string& key) const;

  ScratchFolder folder_{"tessival-tls-nginx"};
  PeerProcess process_;
  std::map<Server, int> ports_;
  int plain_port_ = 0;
  std::string error_;
};

// One TLS connection accepted on a connected descriptor, with the good certificate
// (blocking; for the scripts of a ScriptedServer).
class TlsServerConnection {
 public:
  explicit TlsServerConnection(int fd);
  ~TlsServerConnection();  // no close_notify: the caller decides with Shutdown
  TlsServerConnection(const TlsServerConnection&) = delete;
  TlsServerConnection& operator=(const TlsServerConnection&) = delete;
  bool accepted() const { return accepted_; }
  // Reads up to the request header's empty line.
  std::string ReadRequest();
  // Reads up to the first line break.
  std::string ReadLine();
  void Write(const std::string& data);
  void Shutdown();

 private:
  std::string ReadUntil(const std::string& end);

  ssl_ctx_st* context_ = nullptr;
  ssl_st* ssl_ = nullptr;
  bool accepted_ = false;
};

}  // namespace tessival::net::testing
