#include "net/proxy_choice.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "net/http_cli.h"
#include "net/no_proxy_list.h"
#include "net/url_splitter.h"

namespace tessival::net {
namespace {

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// The set value of name or of its upper-case form, with the name it was found under. An
// empty value counts as unset, as for the other programs that read these variables.
std::optional<std::pair<std::string, std::string>> Lookup(const EnvironmentLookup& lookup,
                                                          const std::string& name) {
  for (const std::string& candidate : {name, Upper(name)}) {
    const std::optional<std::string> value = lookup(candidate);
    if (value && !value->empty()) return std::make_pair(candidate, *value);
  }
  return std::nullopt;
}

std::optional<ProxyServer> ReadProxyVariable(const EnvironmentLookup& lookup, const std::string& name,
                                             std::vector<std::string>& problems) {
  const auto found = Lookup(lookup, name);
  if (!found) return std::nullopt;
  ParsedProxy parsed = ParseProxyAddress(found->second);
  if (!parsed.server) problems.push_back(found->first + " ignoriert: " + parsed.error);
  return parsed.server;
}

std::string SocksLevelOf(ProxyKind kind) {
  switch (kind) {
    case ProxyKind::kSocks4: return "4";
    case ProxyKind::kSocks4a: return "4A";
    default: return "5";
  }
}

}  // namespace

SystemProxies ReadSystemProxies(const EnvironmentLookup& lookup) {
  SystemProxies system;
  system.http = ReadProxyVariable(lookup, "http_proxy", system.problems);
  system.https = ReadProxyVariable(lookup, "https_proxy", system.problems);
  system.all = ReadProxyVariable(lookup, "all_proxy", system.problems);
  if (const auto no_proxy = Lookup(lookup, "no_proxy")) system.no_proxy = no_proxy->second;
  return system;
}

SystemProxies ReadSystemProxies() {
  return ReadSystemProxies([](const std::string& name) -> std::optional<std::string> {
    const char* value = std::getenv(name.c_str());  // NOLINT(concurrency-mt-unsafe): read at start
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  });
}

std::optional<ProxyServer> ChooseProxy(const ProxySettings& settings, const SystemProxies& system,
                                       const std::string& url) {
  switch (settings.mode) {
    case ProxyMode::kNone: return std::nullopt;
    case ProxyMode::kManual: return settings.manual;
    case ProxyMode::kSystem: break;
  }
  const SplitUrl split = ParseURL(url);
  if (NoProxyMatches(system.no_proxy, split.host)) return std::nullopt;
  const std::optional<ProxyServer>& own = split.protocol == "https" ? system.https : system.http;
  return own ? own : system.all;
}

void RouteThroughProxy(THttpCli& http, const std::optional<ProxyServer>& server) {
  const bool through_http = server && server->kind == ProxyKind::kHttp;
  const bool through_socks = server && !through_http;
  http.Proxy = through_http ? server->host : std::string();
  http.ProxyPort = through_http ? server->port : std::string("80");
  http.ProxyUsername = through_http ? server->user : std::string();
  http.ProxyPassword = through_http ? server->password : std::string();
  http.SetSocksServer(through_socks ? server->host : std::string());
  http.SetSocksPort(through_socks ? server->port : std::string());
  http.SetSocksLevel(through_socks ? SocksLevelOf(server->kind) : std::string("5"));
  http.SetSocksUsercode(through_socks ? server->user : std::string());
  http.SetSocksPassword(through_socks ? server->password : std::string());
  http.SetSocksAuthentication(through_socks && !server->user.empty() ? socksAuthenticateUsercode
                                                                     : socksNoAuthentication);
}

}  // namespace tessival::net
