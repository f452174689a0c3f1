#pragma once
// Where a request goes: the address split into the host to connect to (the server or the
// proxy), the "Host:" value and the request-URI, and how a "location" header line moves
// that target. Kept apart from the client so the many cases can be tested one by one.
#include <string>

namespace tessival::net {

struct HttpTarget {
  std::string Location;  // the address being fetched
  std::string Path;      // the request-URI of the request line
  std::string Hostname;  // the host connected to: server or proxy
  std::string Port;
  std::string ServerHost;  // for "Host:"
  std::string Username;
  std::string Password;
  std::string DocFileName;
  bool Secure = false;  // the address is https: the connection carries TLS
  std::string Tunnel;   // "host:port" a proxy is asked to CONNECT to for https; or empty
};

// The port an address without one goes to.
const char* DefaultPortOf(bool secure);

// Sets the target of a new request for url, directly or through proxy (host[:port]).
// Without a proxy, "./" and "../" forms resolve against the previous request's path.
void ComputeRequestTarget(const std::string& url, const std::string& proxy,
                          const std::string& proxy_port, HttpTarget& target);

// Moves the target as a "location" header line with the given value demands.
void ApplyLocationHeader(const std::string& value, bool through_proxy, HttpTarget& target);

// True when a location moves to or within https: the next request is then aimed anew
// with ComputeRequestTarget at the absolute address SecureLocation gives.
bool IsSecureRelocation(const std::string& value, const HttpTarget& target);
std::string SecureLocation(const std::string& value, const HttpTarget& target);

}  // namespace tessival::net
