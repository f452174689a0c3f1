#pragma once
// The main window's HttpCli1: the program's own HTTP client behind the fetch interface.
// Every request goes through the proxy the settings choose for its address.
#include "app/http_fetcher.h"
#include "net/http_cli.h"
#include "net/proxy_choice.h"

namespace tessival::app {

class HttpCliFetcher : public HttpFetcher {
 public:
  HttpCliFetcher() = default;
  void SetURL(const std::string& url) override { http_.URL = url; }
  void SetRcvdStream(platform::TStream* stream) override { http_.ReceiveStream = stream; }
  void Get() override;
  void Abort() override { http_.Abort(); }
  int StatusCode() const override { return http_.StatusCode(); }
  std::string ReasonPhrase() const override;
  std::string ContentType() const override { return http_.ContentType(); }
  std::int64_t ContentLength() const override { return http_.ContentLength(); }
  std::string Location() const override { return http_.Location(); }
  net::THttpCli& Client() { return http_; }
  // The proxy rule for the requests to come; the system's variables as read at start.
  void SetProxy(const net::ProxySettings& settings, const net::SystemProxies& system);

 private:
  net::THttpCli http_;
  net::ProxySettings proxy_settings_{net::ProxyMode::kNone, {}};
  net::SystemProxies system_proxies_;
  std::string proxy_failure_;  // the last request's failure, naming the proxy it went to
};

}  // namespace tessival::app
