#include "tls_peers.h"

#include "nginx_config.h"

#include <fcntl.h>
#include <openssl/ssl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <sstream>
#include <vector>

#include "loopback_peer.h"

extern char** environ;

namespace tessival::net::testing {
namespace {

const char* NameOf(TestCertificate which) {
  switch (which) {
    case TestCertificate::kGood: return "good";
    case TestCertificate::kWrongHost: return "wronghost";
    case TestCertificate::kExpired: return "expired";
    case TestCertificate::kUnknownAuthority: return "unknownca";
    case TestCertificate::kSelfSigned: return "selfsigned";
  }
  return "";
}

// Small elliptic-curve keys: made in a millisecond where RSA would take a while.
const char* const kNewKey = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
const char* const kLocalNames = "DNS:localhost,IP:127.0.0.1";

}  // namespace

const TestAuthority& TestAuthority::Get() {
  static const TestAuthority authority;
  return authority;
}

TestAuthority::TestAuthority() {
  if (FindProgram("openssl").empty()) {
    error_ = "the openssl command is not installed";
    return;
  }
  if (!Make() && error_.empty()) error_ = "openssl failed";
}

std::string TestAuthority::ca_file() const { return (folder_.path() / "ca.pem").string(); }
std::string TestAuthority::certificate(TestCertificate which) const {
  return (folder_.path() / (std::string(NameOf(which)) + ".pem")).string();
}
std::string TestAuthority::key(TestCertificate which) const {
  return (folder_.path() / (std::string(NameOf(which)) + ".key")).string();
}

// Runs an openssl command line (split at spaces; no argument holds one) in the folder.
bool TestAuthority::Run(const std::string& command_line) {
  std::istringstream words(command_line);
  std::vector<std::string> argv{FindProgram("openssl")};
  for (std::string word; words >> word;) argv.push_back(word);
  std::vector<char*> args;
  for (std::string& arg : argv) args.push_back(arg.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string log = (folder_.path() / "openssl.log").string();
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
      WEXITSTATUS(status) != 0) {
    error_ = "openssl " + command_line + " failed (see " + log + ")";
    return false;
  }
  return true;
}

// A key and a certificate request for name, signed by authority ("ca" or "other").
bool TestAuthority::Sign(const std::string& name, const std::string& names,
                         const std::string& authority) {
  const std::string dir = folder_.path().string() + "/";
  folder_.Write(name + ".ext", "subjectAltName=" + names + "\n");
  return Run("req -new" + std::string(kNewKey) + " -keyout " + dir + name + ".key -out " + dir + name +
             ".csr -subj /CN=" + name) &&
         Run("x509 -req -in " + dir + name + ".csr -CA " + dir + authority + ".pem -CAkey " + dir +
             authority + ".key -set_serial " + std::to_string(name.size() * 7919) +
             " -days 30 -extfile " + dir + name + ".ext -out " + dir + name + ".pem");
}

bool TestAuthority::Make() {
  const std::string dir = folder_.path().string() + "/";
  const std::string authority_options =
      " -days 30 -addext basicConstraints=critical,CA:TRUE -addext "
      "keyUsage=critical,keyCertSign,cRLSign";
  for (const char* authority : {"ca", "other"}) {
    if (!Run("req -x509" + std::string(kNewKey) + " -keyout " + dir + authority + ".key -out " + dir +
             authority + ".pem -subj /CN=Tessival-test-" + authority + authority_options)) {
      return false;
    }
  }
  if (!Sign("good", kLocalNames, "ca") || !Sign("wronghost", "DNS:wrong.example", "ca") ||
      !Sign("unknownca", kLocalNames, "other")) {
    return false;
  }
  if (!Run("req -x509" + std::string(kNewKey) + " -keyout " + dir + "selfsigned.key -out " + dir +
           "selfsigned.pem -subj /CN=localhost -days 30 -addext subjectAltName=" + kLocalNames)) {
    return false;
  }
  // Only the authority tool sets both dates of a certificate: one that ended in 2020.
  folder_.Write("db/index.txt", "");
  folder_.Write("db/serial", "1000\n");
  folder_.Write("ca.cnf", "[ca]\ndefault_ca = test\n[test]\ndatabase = " + dir + "db/index.txt\n" +
                              "new_certs_dir = " + dir + "db\nserial = " + dir + "db/serial\n" +
                              "default_md = sha256\npolicy = any\nunique_subject = no\n" +
                              "[any]\ncommonName = supplied\n");
  folder_.Write("expired.ext", std::string("subjectAltName=") + kLocalNames + "\n");
  return Run("req -new" + std::string(kNewKey) + " -keyout " + dir + "expired.key -out " + dir +
             "expired.csr -subj /CN=expired") &&
         Run("ca -batch -notext -config " + dir + "ca.cnf -cert " + dir + "ca.pem -keyfile " + dir +
             "ca.key -in " + dir + "expired.csr -out " + dir +
             "expired.pem -startdate 20200101000000Z -enddate 20200201000000Z -extfile " + dir +
             "expired.ext");
}

// ---- nginx ---------------------------------------------------------------------------

TlsNginxPeer::TlsNginxPeer() {
  AddFile("index.html", "<html><body>index</body></html>\n");
  AddFile("dir/page.html", "<html>page</html>\n");
  AddFile("dir/next.html", "<html>next</html>\n");
}

void TlsNginxPeer::AddFile(const std::string& path, const std::string& content) const {
  folder_.Write("www/" + path, content);
}

std::string TlsNginxPeer::url(Server server, const std::string& path, const std::string& host) const {
  return "https://" + host + ":" + std::to_string(port(server)) + path;
}

std::string TlsNginxPeer::plain_url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(plain_port_) + path;
}

std::string TlsNginxPeer::ServerBlock(Server server, const std::string& certificate,
                                      const std::string& key) const {
  std::string block = "  server {\n    listen 127.0.0.1:" + std::to_string(port(server)) + " ssl;\n" +
                      "    root " + folder_.path().string() + "/www;\n" + "    ssl_certificate " +
                      certificate + ";\n    ssl_certificate_key " + key + ";\n";
  if (server == Server::kTls10Only) {
    block += "    ssl_protocols TLSv1;\n    ssl_ciphers DEFAULT:@SECLEVEL=0;\n";
  } else {
    block += "    ssl_protocols TLSv1.2 TLSv1.3;\n";
  }
  if (server == Server::kGood) {
    block += "    location = /to-plain { return 302 " + plain_url("/index.html") + "; }\n" +
             "    location = /moved { absolute_redirect off; return 302 /dir/page.html; }\n" +
             "    location = /dir/relative { absolute_redirect off; return 302 next.html; }\n";
  }
  return block + "  }\n";
}

bool TlsNginxPeer::Start() {
  const TestAuthority& authority = TestAuthority::Get();
  if (!authority.ok()) {
    error_ = authority.error();
    return false;
  }
  const std::string nginx = FindProgram("nginx");
  if (nginx.empty()) {
    error_ = "nginx is not installed";
    return false;
  }
  // clang-format off
  const std::map<Server, TestCertificate> certificates = {
      {Server::kGood, TestCertificate::kGood},
      {Server::kWrongHost, TestCertificate::kWrongHost},
      {Server::kExpired, TestCertificate::kExpired},
      {Server::kUnknownAuthority, TestCertificate::kUnknownAuthority},
      {Server::kSelfSigned, TestCertificate::kSelfSigned},
      {Server::kTls10Only, TestCertificate::kGood},
  };
  // clang-format on
  for (const auto& [server, certificate] : certificates) ports_[server] = UnusedPort();
  plain_port_ = UnusedPort();
  const std::string dir = folder_.path().string();
  folder_.Write("tmp/.keep", "");
  std::string servers;
  for (const auto& [server, certificate] : certificates) {
    servers += ServerBlock(server, authority.certificate(certificate), authority.key(certificate));
  }
  servers += NginxServer(plain_port_, dir,
                         "    location = /to-secure { return 302 " +
                             url(Server::kGood, "/dir/page.html", "localhost") + "; }\n");
  folder_.Write("nginx.conf", NginxConfig(dir, std::string(kPlainHttpLines) + servers));
  return process_.Start({nginx, "-p", dir, "-c", dir + "/nginx.conf"}, plain_port_);
}

// ---- A scripted TLS server -------------------------------------------------------------

TlsServerConnection::TlsServerConnection(int fd) : context_(SSL_CTX_new(TLS_server_method())) {
  const TestAuthority& authority = TestAuthority::Get();
  if (context_ == nullptr || !authority.ok()) return;
  SSL_CTX_use_certificate_chain_file(context_, authority.certificate(TestCertificate::kGood).c_str());
  SSL_CTX_use_PrivateKey_file(context_, authority.key(TestCertificate::kGood).c_str(), SSL_FILETYPE_PEM);
  ssl_ = SSL_new(context_);
  SSL_set_fd(ssl_, fd);
  accepted_ = SSL_accept(ssl_) == 1;
}

TlsServerConnection::~TlsServerConnection() {
  SSL_free(ssl_);
  SSL_CTX_free(context_);
}

std::string TlsServerConnection::ReadUntil(const std::string& end) {
  std::string text;
  char buffer[4096];
  while (accepted_ && text.find(end) == std::string::npos) {
    const int count = SSL_read(ssl_, buffer, sizeof buffer);
    if (count <= 0) break;
    text.append(buffer, static_cast<std::size_t>(count));
  }
  return text;
}

std::string TlsServerConnection::ReadRequest() { return ReadUntil("\r\n\r\n"); }
std::string TlsServerConnection::ReadLine() { return ReadUntil("\n"); }

void TlsServerConnection::Write(const std::string& data) {
  if (accepted_ && !data.empty()) SSL_write(ssl_, data.data(), static_cast<int>(data.size()));
}

void TlsServerConnection::Shutdown() {
  if (accepted_) SSL_shutdown(ssl_);
}

}  // namespace tessival::net::testing
