#pragma once
#include "app/http_fetcher.h"

namespace tessival::app {

// Stands in for the HTTP client until the network layer is wired in: every request fails
// the way a failed connection does, with status 404 and a reason that says why.
class UnavailableHttpClient : public HttpFetcher {
 public:
  void SetURL(const std::string& url) override { url_ = url; }
  void SetRcvdStream(platform::TStream*) override {}
  void Get() override;
  void Abort() override {}
  int StatusCode() const override { return status_code_; }
  std::string ReasonPhrase() const override { return reason_; }

 private:
  std::string url_;
  int status_code_ = 0;
  std::string reason_;
};

}  // namespace tessival::app
