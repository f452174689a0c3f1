#include "app/http_cli_fetcher.h"

namespace tessival::app {
namespace {

constexpr int kProxyAuthenticationRequired = 407;

}  // namespace

void HttpCliFetcher::SetProxy(const net::ProxySettings& settings, const net::SystemProxies& system) {
  proxy_settings_ = settings;
  system_proxies_ = system;
}

void HttpCliFetcher::Get() {
  const std::optional<net::ProxyServer> proxy = net::ChooseProxy(proxy_settings_, system_proxies_,
                                                                 http_.URL);
  net::RouteThroughProxy(http_, proxy);
  proxy_failure_.clear();
  try {
    http_.Get();
  } catch (const net::ENetException&) {
    // No answer at all means the way to the server failed, and with a proxy that way
    // starts at the proxy: the user must learn which one refused, or could not be reached.
    const bool proxy_failed = http_.RcvdHeaderLines().empty() ||
                              http_.StatusCode() == kProxyAuthenticationRequired;
    if (proxy && proxy_failed)
      proxy_failure_ = "Proxy " + proxy->Describe() + ": " + http_.ReasonPhrase();
    throw;
  }
}

std::string HttpCliFetcher::ReasonPhrase() const {
  return proxy_failure_.empty() ? http_.ReasonPhrase() : proxy_failure_;
}

}  // namespace tessival::app
