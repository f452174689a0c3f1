#include "web_peers.h"

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
  folder_.Write("nginx.conf",
                "daemon off;\nmaster_process off;\nworker_processes 1;\n"
                "error_log " +
                    dir + "/error.log;\npid " + dir +
                    "/nginx.pid;\n"
                    "events { worker_connections 64; }\n"
                    "http {\n"
                    "  access_log off;\n"
                    "  types { text/html html htm; text/plain txt; }\n"
                    "  default_type application/octet-stream;\n"
                    "  client_body_temp_path " +
                    dir +
                    "/tmp/body;\n"
                    "  proxy_temp_path " +
                    dir +
                    "/tmp/proxy;\n"
                    "  fastcgi_temp_path " +
                    dir +
                    "/tmp/fastcgi;\n"
                    "  uwsgi_temp_path " +
                    dir +
                    "/tmp/uwsgi;\n"
                    "  scgi_temp_path " +
                    dir +
                    "/tmp/scgi;\n"
                    "  server {\n"
                    "    listen 127.0.0.1:" +
                    std::to_string(port_) +
                    ";\n"
                    "    root " +
                    dir +
                    "/www;\n"
                    "    location = /r1 { return 302 /r2; }\n"
                    "    location = /r2 { return 301 /index.html; }\n"
                    "    location = /dir/moved.html { absolute_redirect off; return 302 next.html; }\n"
                    "    location /secret/ { auth_basic \"Tessival\"; auth_basic_user_file " +
                    dir +
                    "/htpasswd; }\n"
                    "  }\n"
                    "}\n");
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
                                      dir +
                                      "/tinyproxy.pid\"\n"
                                      "BasicAuth " +
                                      kUser + " " + kPassword +
                                      "\n"
                                      "DisableViaHeader Yes\n"
                                      "User root\nGroup root\n");
  return process_.Start({tinyproxy, "-d", "-c", dir + "/tinyproxy.conf"}, port_);
}

}  // namespace tessival::net::testing
