#include "app/unavailable_http_client.h"

#include <stdexcept>

namespace tessival::app {

void UnavailableHttpClient::Get() {
  status_code_ = 404;
  reason_ = "HTTP client not available";
  throw std::runtime_error(reason_);
}

}  // namespace tessival::app
