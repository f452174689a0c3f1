// The settings every test nginx shares: one worker in the foreground, its pid, error log
// and temporary files kept inside the test's own folder, so tests never touch the system's.
#pragma once

#include <string>

namespace tessival::net::testing {

// No access log, and files typed by their endings as a plain web server types them.
inline constexpr const char* kPlainHttpLines =
    "  access_log off;\n"
    "  types { text/html html htm; text/plain txt; }\n"
    "  default_type application/octet-stream;\n";

// A whole nginx.conf for a server folder DIR; HTTP_LINES go into the http block (logging,
// types, the server blocks).
inline std::string NginxConfig(const std::string& dir, const std::string& http_lines) {
  std::string conf = "daemon off;\nmaster_process off;\nworker_processes 1;\n";
  conf += "error_log " + dir + "/error.log;\npid " + dir + "/nginx.pid;\n";
  conf += "events { worker_connections 64; }\nhttp {\n";
  for (const char* kind : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"}) {
    conf += std::string("  ") + kind + "_temp_path " + dir + "/tmp/" + kind + ";\n";
  }
  return conf + http_lines + "}\n";
}

// One server block on 127.0.0.1:PORT serving DIR/www, with LOCATIONS inside it.
inline std::string NginxServer(int port, const std::string& dir, const std::string& locations) {
  return "  server {\n    listen 127.0.0.1:" + std::to_string(port) + ";\n    root " + dir + "/www;\n" +
         locations + "  }\n";
}

}  // namespace tessival::net::testing
