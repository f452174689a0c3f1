#include "loopback_peer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "platform/message_window.h"

namespace tessival::net::testing {

using namespace std::chrono_literals;

namespace {

platform::UniqueFd ListenOnLoopback(int receive_buffer, int* port) {
  platform::UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  const int one = 1;
  ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (receive_buffer > 0) {
    ::setsockopt(fd.get(), SOL_SOCKET, SO_RCVBUF, &receive_buffer, sizeof receive_buffer);
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd.get(), 16) != 0) {
    throw std::runtime_error("cannot listen on 127.0.0.1");
  }
  socklen_t length = sizeof address;
  ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &length);
  *port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

ScriptedServer::ScriptedServer(Script script, int receive_buffer)
    : listener_(ListenOnLoopback(receive_buffer, &port_)) {
  thread_ = std::thread([this, script = std::move(script)] {
    Serve(1, [&script](int, int connection) { script(connection); });
  });
}

ScriptedServer::ScriptedServer(int connections, IndexedScript script)
    : listener_(ListenOnLoopback(0, &port_)) {
  thread_ = std::thread([this, connections, script = std::move(script)] { Serve(connections, script); });
}

void ScriptedServer::Serve(int connections, const IndexedScript& script) {
  for (int i = 0; i < connections; ++i) {
    pollfd waiting{listener_.get(), POLLIN, 0};
    if (::poll(&waiting, 1, 20000) <= 0 || (waiting.revents & POLLIN) == 0) return;
    platform::UniqueFd connection(::accept(listener_.get(), nullptr, nullptr));
    if (!connection.valid()) return;
    connection_ = connection.get();
    script(i, connection.get());
    connection_ = -1;
  }
}

ScriptedServer::~ScriptedServer() {
  if (!thread_.joinable()) return;
  // Wakes an accept that never got a client, and a script still reading from its client.
  ::shutdown(listener_.get(), SHUT_RDWR);
  const int connection = connection_;
  if (connection >= 0) ::shutdown(connection, SHUT_RDWR);
  thread_.join();
}

void ScriptedServer::Join() {
  if (thread_.joinable()) thread_.join();
}

std::string ReadExactly(int fd, std::size_t count) {
  std::string data;
  char buffer[4096];
  while (data.size() < count) {
    const ssize_t n = ::recv(fd, buffer, std::min(sizeof buffer, count - data.size()), 0);
    if (n <= 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  return data;
}

std::string ReadUntilClosed(int fd) {
  std::string data;
  char buffer[65536];
  ssize_t n;
  while ((n = ::recv(fd, buffer, sizeof buffer, 0)) > 0)
    data.append(buffer, static_cast<std::size_t>(n));
  return data;
}

void WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
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

int UnusedPort() {
  int port = 0;
  ListenOnLoopback(0, &port);
  return port;
}

platform::HostLookupResult TableResolver::LookupName(const std::string& name) {
  platform::HostLookupResult result;
  if (name == "peer.example") {
    result.entry.name = name;
    result.entry.addresses = {htonl(0x7F000001), htonl(0x7F000002)};
  } else {
    result.error = 11001;
  }
  return result;
}

platform::HostLookupResult TableResolver::LookupAddress(std::uint32_t address) {
  platform::HostLookupResult result;
  result.entry.name = "loopback.example";
  result.entry.addresses = {address};
  return result;
}

bool RunUntil(platform::MessageLoop& loop, const std::function<bool()>& done) {
  bool expired = false;
  platform::MessageWindow guard(loop,
                                [&expired](platform::UINT message, platform::WPARAM, platform::LPARAM) {
                                  if (message == platform::WM_TIMER) expired = true;
                                  return 0;
                                });
  guard.SetTimer(1, 20s);
  while (!done()) {
    if (expired) return false;
    loop.RunOnce();
  }
  return true;
}

}  // namespace tessival::net::testing
