#pragma once
// A real SOCKS server for the tests: danted, configured in a temporary directory to
// listen on 127.0.0.1 (SOCKS 4 and 5, with no authentication or with the user name
// method), started in its own process group and stopped with it.
#include <sys/types.h>

#include <string>

namespace tessival::net::testing {

class DanteServer {
 public:
  enum class Method { kNone, kUserName };
  static constexpr const char* kBinary = "/usr/sbin/danted";
  static constexpr const char* kUser = "tessivalsocks";
  static constexpr const char* kPassword = "Geheim-42";

  static bool Installed();
  // Creates the system user the user name method checks against; false if it cannot.
  static bool EnsureUser();

  explicit DanteServer(Method method);
  ~DanteServer();
  DanteServer(const DanteServer&) = delete;
  DanteServer& operator=(const DanteServer&) = delete;

  bool running() const { return pid_ > 0 && ready_; }
  int port() const { return port_; }
  const std::string& log_text();

 private:
  std::string directory_;
  std::string log_;
  int port_ = 0;
  pid_t pid_ = -1;
  bool ready_ = false;
};

// Sends a socket's or an HTTP client's connections through the SOCKS server on this
// machine; an empty level keeps the one set.
template <class Client>
void RouteThroughSocks(Client& client, int port, const std::string& level = "") {
  client.SetSocksServer("127.0.0.1");
  client.SetSocksPort(std::to_string(port));
  if (!level.empty()) client.SetSocksLevel(level);
}

}  // namespace tessival::net::testing
