#pragma once
// A proxy written as an address, the way the usual proxy variables and the settings give it:
//   [scheme://][user[:password]@]host[:port][/]
// with the schemes http, socks4, socks4a, socks5 and socks5h; no scheme means http, no port
// means 1080 (the common default of command-line clients, for every kind). User and password
// may be percent-encoded, as they must be when they hold ":" or "@".
#include <optional>
#include <string>

namespace tessival::net {

enum class ProxyKind { kHttp, kSocks4, kSocks4a, kSocks5, kSocks5h };

struct ProxyServer {
  ProxyKind kind = ProxyKind::kHttp;
  std::string host;  // without the brackets of an IPv6 address
  std::string port = "1080";
  std::string user;
  std::string password;

  // "socks5://127.0.0.1:1080" (never the password): how messages name the proxy.
  std::string Describe() const;
  bool operator==(const ProxyServer& other) const = default;
};

struct ParsedProxy {
  std::optional<ProxyServer> server;
  std::string error;  // why there is none; empty when server is set
};

ParsedProxy ParseProxyAddress(const std::string& text);

// The scheme of each kind ("socks4a"), and back; nothing for an unknown scheme.
std::string ProxySchemeName(ProxyKind kind);
std::optional<ProxyKind> ProxyKindFromScheme(const std::string& scheme);

}  // namespace tessival::net
