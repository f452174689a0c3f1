#pragma once
// A scripted HTTP peer on 127.0.0.1 for the cases no real server produces on demand: it
// accepts up to a number of connections, one after the other, and hands each to the script
// with its index.
#include <functional>
#include <string>
#include <thread>

#include "platform/unique_fd.h"

namespace tessival::net::testing {

class HttpScriptServer {
 public:
  using Script = std::function<void(int index, int connection)>;
  HttpScriptServer(int connections, Script script);
  ~HttpScriptServer();  // stops accepting and joins
  int port() const { return port_; }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  int port_ = 0;
  platform::UniqueFd listener_;
  std::thread thread_;
};

// Reads one request: the header up to its empty line, and a body of Content-Length bytes.
std::string ReadRequest(int fd);

}  // namespace tessival::net::testing
