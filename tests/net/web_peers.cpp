#include "web_peers.h"

#include <fstream>
#include <sstream>

#include "nginx_config.h"

#include "loopback_peer.h"

namespace tessival::net::testing {

NginxPeer::NginxPeer() {
  AddFile("index.html", "<html><body>index</body></html>\n");
  AddFile("dir/page.html", "<html>page</html>\n");
  AddFile("dir/next.html", "<html>next</html>\n");
  AddFile("secret/index.html", "<html>for readers only</html>\n");
  folder_.Write("htpasswd", std::string(kUser) + ":{PLAIN}" + kPassword + "\n");
}

void NginxPeer::AddFile(const std::string& path, const std::string& content) const {
  folder_.Write("www/" + path, content);
}

bool NginxPeer::Start() {
  const std::string nginx = FindProgram("nginx");
  if (nginx.empty()) return false;
  port_ = UnusedPort();
  const std::string dir = folder_.path().string();
  folder_.Write("tmp/.keep", "");
  const std::string locations =
      "    location = /r1 { return 302 /r2; }\n"
      "    location = /r2 { return 301 /index.html; }\n"
      "    location = /dir/moved.html { absolute_redirect off; return 302 next.html; }\n"
      "    location /secret/ { auth_basic \"Tessival\"; auth_basic_user_file " +
      dir + "/htpasswd; }\n";
  folder_.Write("nginx.conf",
                NginxConfig(dir, std::string(kPlainHttpLines) + NginxServer(port_, dir, locations)));
  return process_.Start({nginx, "-p", dir, "-c", dir + "/nginx.conf"}, port_);
}

bool TinyproxyPeer::Start() {
  const std::string tinyproxy = FindProgram("tinyproxy");
  if (tinyproxy.empty()) return false;
  port_ = UnusedPort();
  const std::string dir = folder_.path().string();
  folder_.Write("tinyproxy.conf", "Port " + std::to_string(port_) +
                                      "\n"
                                      "Listen 127.0.0.1\n"
                                      "Timeout 30\n"
                                      "MaxClients 20\n"
                                      "Allow 127.0.0.1\n"
                                      "LogFile \"" +
                                      dir +
                                      "/tinyproxy.log\"\n"
                                      "PidFile \"" +
                                      dir + "/tinyproxy.pid\"\n" +
                                      (access_ == Access::kPassword
                                           ? std::string("BasicAuth ") + kUser + " " + kPassword + "\n"
                                           : std::string()) +
                                      "DisableViaHeader Yes\n"
                                      "User root\nGroup root\n");
  return process_.Start({tinyproxy, "-d", "-c", dir + "/tinyproxy.conf"}, port_);
}

std::string TinyproxyPeer::log_text() const {
  std::ifstream in(folder_.path() / "tinyproxy.log");
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

}  // namespace tessival::net::testing
