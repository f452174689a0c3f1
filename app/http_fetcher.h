#pragma once
// What the main window needs of an HTTP client: an address, a receive stream, a blocking GET
// that keeps the message loop running, and the status of the last request.
#include <cstdint>
#include <string>

#include "platform/stream.h"

namespace tessival::app {

class HttpFetcher {
 public:
  virtual ~HttpFetcher() = default;
  virtual void SetURL(const std::string& url) = 0;
  // Not owned; nullptr discards the body.
  virtual void SetRcvdStream(platform::TStream* stream) = 0;
  // Returns when the whole body is written; throws net::EHttpException or
  // net::ESocketException when the request fails or the status is 400 or more, and
  // platform::EStreamError when the body cannot be written. StatusCode and ReasonPhrase
  // are meaningful either way.
  virtual void Get() = 0;
  // Ends a running request at once (the program is closing).
  virtual void Abort() = 0;
  virtual int StatusCode() const = 0;
  virtual std::string ReasonPhrase() const = 0;
  // The Content-Type of the last answer, as the server sent it; empty when it sent none.
  virtual std::string ContentType() const { return {}; }
  // The Content-Length of the last answer; -1 when it sent none.
  virtual std::int64_t ContentLength() const { return -1; }
  // The address the last answer came from, after relocations; empty when not known.
  virtual std::string Location() const { return {}; }
};

}  // namespace tessival::app
