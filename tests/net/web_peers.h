#pragma once
// The real web peers of the tests, on 127.0.0.1: nginx serving a small site (static files, a
// 404 page, a 302/301 chain, a relative location, a password-protected folder) and
// tinyproxy as an HTTP proxy with Basic authentication in front of it. (dante, the SOCKS
// server, is in dante_peer.h.)
#include <string>

#include "peer_process.h"

namespace tessival::net::testing {

class NginxPeer {
 public:
  static constexpr const char* kUser = "reader";
  static constexpr const char* kPassword = "s3cret";

  NginxPeer();
  // False, with the reason in error(), when nginx is not installed or does not start.
  bool Start();
  int port() const { return port_; }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  std::string url(const std::string& path) const { return "http://" + address() + path; }
  // Puts a file into the site.
  void AddFile(const std::string& path, const std::string& content) const;
  const std::string& error() const { return process_.error(); }

 private:
  ScratchFolder folder_{"tessival-nginx"};
  PeerProcess process_;
  int port_ = 0;
};

class TinyproxyPeer {
 public:
  static constexpr const char* kUser = "proxyuser";
  static constexpr const char* kPassword = "proxypass";
  enum class Access { kPassword, kOpen };

  explicit TinyproxyPeer(Access access = Access::kPassword) : access_(access) {}
  bool Start();
  int port() const { return port_; }
  const std::string& error() const { return process_.error(); }
  // What the proxy has logged so far: each request it carried names its address.
  std::string log_text() const;

 private:
  Access access_;
  ScratchFolder folder_{"tessival-tinyproxy"};
  PeerProcess process_;
  int port_ = 0;
};

}  // namespace tessival::net::testing
