#pragma once
// The main window's HttpCli1: the program's own HTTP client behind the fetch interface.
#include "app/http_fetcher.h"
#include "net/http_cli.h"

namespace tessival::app {

class HttpCliFetcher : public HttpFetcher {
 public:
  HttpCliFetcher() = default;
  void SetURL(const std::string& url) override { http_.URL = url; }
  void SetRcvdStream(platform::TStream* stream) override { http_.ReceiveStream = stream; }
  void Get() override { http_.Get(); }
  void Abort() override { http_.Abort(); }
  int StatusCode() const override { return http_.StatusCode(); }
  std::string ReasonPhrase() const override { return http_.ReasonPhrase(); }
  std::string ContentType() const override { return http_.ContentType(); }
  std::int64_t ContentLength() const override { return http_.ContentLength(); }
  std::string Location() const override { return http_.Location(); }
  net::THttpCli& Client() { return http_; }

 private:
  net::THttpCli http_;
};

}  // namespace tessival::app
