#include "http_script_server.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "loopback_peer.h"

namespace tessival::net::testing {

HttpScriptServer::HttpScriptServer(int connections, Script script) {
  listener_.reset(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const int one = 1;
  ::setsockopt(listener_.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(listener_.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_.get(), 16) != 0) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  socklen_t length = sizeof address;
  ::getsockname(listener_.get(), reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this, connections, script = std::move(script)] {
    for (int i = 0; i < connections; ++i) {
      pollfd waiting{listener_.get(), POLLIN, 0};
      if (::poll(&waiting, 1, 20000) <= 0 || (waiting.revents & POLLIN) == 0) return;
      platform::UniqueFd connection(::accept(listener_.get(), nullptr, nullptr));
      if (!connection.valid()) return;
      script(i, connection.get());
    }
  });
}

HttpScriptServer::~HttpScriptServer() {
  ::shutdown(listener_.get(), SHUT_RDWR);
  if (thread_.joinable()) thread_.join();
}

std::string ReadRequest(int fd) {
  std::string request;
  char byte;
  while (request.find("\r\n\r\n") == std::string::npos) {
    if (::read(fd, &byte, 1) != 1) return request;
    request += byte;
  }
  const std::size_t at = request.find("Content-Length: ");
  if (at != std::string::npos) {
    const std::size_t length = std::stoul(request.substr(at + 16));
    request += ReadExactly(fd, length);
  }
  return request;
}

}  // namespace tessival::net::testing
