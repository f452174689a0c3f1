#include "dante_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "loopback_peer.h"
#include "peer_process.h"
#include "platform/unique_fd.h"

extern char** environ;

namespace tessival::net::testing {
namespace {

std::string Config(DanteServer::Method method, int port, const std::string& log) {
  std::ostringstream out;
  out << "logoutput: " << log << "\n"
      << "internal: 127.0.0.1 port = " << port << "\n"
      << "external: 127.0.0.1\n"
      << "clientmethod: none\n"
      << "socksmethod: " << (method == DanteServer::Method::kUserName ? "username" : "none") << "\n"
      << "user.privileged: root\n"
      << "user.unprivileged: nobody\n"
      << "client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n"
      << "socks pass { from: 127.0.0.0/8 to: 127.0.0.0/8 protocol: tcp\n  log: connect }\n";
  return out.str();
}

int RunCommand(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid;
  if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

bool DanteServer::Installed() { return ::access(kBinary, X_OK) == 0; }

// ctest runs the tests in parallel processes: one of them creates the user, under a lock.
bool DanteServer::EnsureUser() {
  platform::UniqueFd lock(::open("/tmp/tessival-socks-user.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0600));
  if (lock.valid()) ::flock(lock.get(), LOCK_EX);
  if (RunCommand({"/usr/bin/id", "-u", kUser}) == 0) return true;
  if (::geteuid() != 0) return false;
  if (RunCommand({"/usr/sbin/useradd", "-M", "-N", "-s", "/usr/sbin/nologin", kUser}) != 0) {
    return false;
  }
  const std::string line = std::string(kUser) + ":" + kPassword;
  return RunCommand({"/bin/sh", "-c", "echo '" + line + "' | /usr/sbin/chpasswd"}) == 0;
}

DanteServer::DanteServer(Method method) {
  char pattern[] = "/tmp/tessival-danted-XXXXXX";
  if (::mkdtemp(pattern) == nullptr) return;
  directory_ = pattern;
  ::chmod(directory_.c_str(), 0755);
  port_ = UnusedPort();
  const std::string config = directory_ + "/danted.conf";
  log_ = directory_ + "/danted.log";
  std::ofstream(config) << Config(method, port_, log_);
  std::vector<std::string> args = {kBinary, "-f", config, "-p", directory_ + "/danted.pid", "-N", "1"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // danted's helpers outlive their parent for a moment: adopting orphans lets the test
  // reap them instead of leaving zombies behind.
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  ::posix_spawnattr_setpgroup(&attributes, 0);
  if (::posix_spawn(&pid_, kBinary, nullptr, &attributes, argv.data(), environ) != 0) pid_ = -1;
  ::posix_spawnattr_destroy(&attributes);
  if (pid_ <= 0) return;
  // Start-up takes a moment; poll the port, bounded.
  for (int attempt = 0; attempt < 500 && !ready_; ++attempt) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    ready_ = PortAccepts(port_);
    if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

DanteServer::~DanteServer() {
  if (pid_ > 0) {
    ::kill(-pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    ::kill(-pid_, SIGKILL);  // any child that outlived its parent
    while (::waitpid(-pid_, &status, 0) > 0) {
    }
  }
  if (!directory_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
  }
}

const std::string& DanteServer::log_text() {
  static thread_local std::string text;
  std::ifstream in(log_);
  std::stringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return text;
}

}  // namespace tessival::net::testing
