#pragma once
// Which proxy, if any, a request goes through: none, the system's (the usual environment
// variables), or one set by hand. A pure rule: the environment comes in through a lookup
// function, so tests and the settings dialog can ask it without touching the process.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "net/proxy_address.h"

namespace tessival::net {

class THttpCli;

enum class ProxyMode { kNone, kSystem, kManual };

struct ProxySettings {
  ProxyMode mode = ProxyMode::kSystem;
  ProxyServer manual;  // used in kManual only
};

// The proxy variables as read once at start: lower-case names win over upper-case ones;
// a value that does not read is left out and named in problems.
struct SystemProxies {
  std::optional<ProxyServer> http, https, all;
  std::string no_proxy;
  std::vector<std::string> problems;  // "http_proxy ignoriert: ..."
};

using EnvironmentLookup = std::function<std::optional<std::string>(const std::string& name)>;

SystemProxies ReadSystemProxies(const EnvironmentLookup& lookup);
// The process's own environment.
SystemProxies ReadSystemProxies();

// The proxy for one request address; nothing means a direct connection.
std::optional<ProxyServer> ChooseProxy(const ProxySettings& settings, const SystemProxies& system,
                                       const std::string& url);

// Sets the client's HTTP proxy or SOCKS route to server, clearing the other; nothing makes
// its connections direct. The client must be idle.
void RouteThroughProxy(THttpCli& http, const std::optional<ProxyServer>& server);

}  // namespace tessival::net
