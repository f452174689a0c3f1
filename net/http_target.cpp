#include "net/http_target.h"

#include "net/url_splitter.h"
#include "net/wsocket_resolve.h"

namespace tessival::net {
namespace {

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

std::string Or(const std::string& value, const char* fallback) {
  return value.empty() ? fallback : value;
}

bool IsSecureProtocol(const std::string& protocol) { return LowerCase(protocol) == "https"; }

// An absolute address with a scheme this client fetches (written as the address splitter
// reads schemes: in lower case).
bool HasWebScheme(const std::string& value) {
  return StartsWith(value, "http://") || StartsWith(value, "https://");
}

// "https://host[:port]" of the current secure target, whether direct or through a tunnel.
std::string SecureOrigin(const HttpTarget& target) {
  if (!target.Tunnel.empty()) return "https://" + target.Tunnel;
  const bool default_port = target.Port.empty() || target.Port == DefaultPortOf(true);
  return "https://" + target.ServerHost + (default_port ? "" : ":" + target.Port);
}

// A user and a password that come with an address replace the client's, but only as a pair.
void TakeCredentialPair(const SplitUrl& split, HttpTarget& target) {
  if (split.user.empty() || split.password.empty()) return;
  target.Username = split.user;
  target.Password = split.password;
}

void ApplyAbsoluteLocation(const std::string& value, HttpTarget& target) {
  const SplitUrl split = ParseURL(value, target.Path);
  const std::string protocol = Or(split.protocol, "http");
  target.Path = split.path;
  target.Hostname = split.host;
  target.Port = Or(split.port, "80");
  TakeCredentialPair(split, target);
  if (!split.protocol.empty() && !split.host.empty()) {
    target.ServerHost = split.host;
    if (split.path.empty()) {
      target.Path = "/";
      target.Location = split.protocol + "://" + split.host;
    } else {
      target.Location = split.protocol + "://" + split.host + split.path;
    }
  } else if (split.path.empty()) {
    target.Location = protocol + "://" + target.ServerHost + "/" + split.host;
    target.Hostname = target.ServerHost;
    target.Path = target.Location;
  } else if (!split.host.empty()) {
    target.ServerHost = split.host;
  } else {
    target.Location = protocol + "://" + target.ServerHost + target.Path;
    target.Hostname = target.ServerHost;
  }
}

void ApplyAbsoluteLocationThroughProxy(const std::string& value, HttpTarget& target) {
  const SplitUrl split = ParseURL(value, target.Path);
  const std::string protocol = Or(split.protocol, "http");
  target.Port = Or(split.port, "80");
  TakeCredentialPair(split, target);
  if (!split.protocol.empty() && !split.host.empty()) {
    target.ServerHost = split.host;
    target.Location = split.protocol + "://" + split.host + split.path;
    target.Path = target.Location;
  } else if (target.Path.empty()) {
    target.Location = protocol + "://" + target.ServerHost + "/" + split.host;
  } else if (!split.host.empty()) {
    target.ServerHost = split.host;
  } else {
    target.Location = protocol + "://" + target.ServerHost + target.Path;
  }
}

}  // namespace

const char* DefaultPortOf(bool secure) { return secure ? "443" : "80"; }

void ComputeRequestTarget(const std::string& url, const std::string& proxy,
                          const std::string& proxy_port, HttpTarget& target) {
  const SplitUrl split = ParseURL(url, proxy.empty() ? target.Path : std::string());
  target.ServerHost = split.host;
  if (!split.user.empty()) target.Username = split.user;
  if (!split.password.empty()) target.Password = split.password;
  target.DocFileName = DocFileNameFromPath(split.path);
  target.Secure = IsSecureProtocol(split.protocol);
  target.Tunnel.clear();
  if (proxy.empty()) {
    target.Path = split.path;
    target.Port = Or(split.port, DefaultPortOf(target.Secure));
    target.Hostname = split.host;
  } else if (target.Secure) {
    // The proxy only opens a tunnel: the request inside it is the one a server gets
    // directly, and nothing of it is readable to the proxy.
    target.Path = split.path;
    target.Tunnel = split.host + ":" + Or(split.port, DefaultPortOf(true));
    const SplitUrl proxy_split = ParseURL(proxy);
    target.Hostname = proxy_split.host;
    target.Port = proxy_split.port.empty() ? proxy_port : proxy_split.port;
  } else {
    // The request line carries the whole address; the connection goes to the proxy.
    target.Path = Or(split.protocol, "http") + "://" + split.host +
                  (split.port.empty() ? "" : ":" + split.port) + split.path;
    const SplitUrl proxy_split = ParseURL(proxy);
    target.Hostname = proxy_split.host;
    target.Port = proxy_split.port.empty() ? proxy_port : proxy_split.port;
  }
  if (target.Path.empty()) target.Path = "/";
}

void ApplyLocationHeader(const std::string& value, bool through_proxy, HttpTarget& target) {
  if (StartsWith(value, "/")) {
    if (through_proxy) {
      const SplitUrl current = ParseURL(target.Path);
      target.Location = Or(current.protocol, "http") + "://" + current.host + value;
      target.Path = target.Location;
      TakeCredentialPair(current, target);
    } else {
      target.Path = value;
      target.Location = "http://" + target.Hostname + value;
    }
  } else if (!HasWebScheme(value)) {
    // A relative location joins the directory of the current path.
    target.Path = BaseDirectory(target.Path) + value;
    target.Location = "http://" + target.Hostname + "/" + target.Path;
  } else if (through_proxy) {
    ApplyAbsoluteLocationThroughProxy(value, target);
  } else {
    ApplyAbsoluteLocation(value, target);
  }
}

bool IsSecureRelocation(const std::string& value, const HttpTarget& target) {
  return target.Secure || StartsWith(value, "https://");
}

std::string SecureLocation(const std::string& value, const HttpTarget& target) {
  if (HasWebScheme(value)) return value;
  if (StartsWith(value, "//")) return "https:" + value;
  if (StartsWith(value, "/")) return SecureOrigin(target) + value;
  const std::string directory = BaseDirectory(target.Path);
  return SecureOrigin(target) + (directory.empty() ? "/" : directory) + value;
}

}  // namespace tessival::net
