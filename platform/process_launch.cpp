#include "platform/process_launch.h"

#include <spawn.h>
#include <sys/wait.h>

#include <csignal>
#include <cerrno>
#include <thread>

extern char** environ;

namespace tessival::platform {
namespace {

int WaitForExit(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// What a started program must not inherit from this one: its descriptors (sockets, the
// loop's epoll) and its ignored or blocked signals (the socket layer ignores SIGPIPE).
class SpawnSettings {
 public:
  SpawnSettings() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    posix_spawnattr_init(&attributes_);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes_, &signals);
    sigaddset(&signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes_, &signals);
    posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  }
  ~SpawnSettings() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
  }
  SpawnSettings(const SpawnSettings&) = delete;
  SpawnSettings& operator=(const SpawnSettings&) = delete;

  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attributes() const { return &attributes_; }

 private:
  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

}  // namespace

ChildProcess::~ChildProcess() { Detach(); }

int ChildProcess::Wait() {
  if (pid_ <= 0) return -1;
  const int status = WaitForExit(pid_);
  pid_ = -1;
  return status;
}

void ChildProcess::Detach() {
  if (pid_ <= 0) return;
  // A browser may run for hours; a thread blocked in waitpid costs nothing meanwhile.
  std::thread([pid = pid_] { WaitForExit(pid); }).detach();
  pid_ = -1;
}

std::optional<ChildProcess> SpawnProcess(const std::vector<std::string>& argv) {
  if (argv.empty() || argv.front().empty()) return std::nullopt;
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);
  pid_t pid = 0;
  const SpawnSettings settings;
  // posix_spawnp reports a program that cannot be executed as an error of its own, so
  // success means the program really started.
  if (posix_spawnp(&pid, pointers.front(), settings.actions(), settings.attributes(), pointers.data(),
                   environ) != 0) {
    return std::nullopt;
  }
  return ChildProcess(pid);
}

bool LaunchDetached(const std::vector<std::string>& argv) {
  std::optional<ChildProcess> child = SpawnProcess(argv);
  if (!child) return false;
  child->Detach();
  return true;
}

}  // namespace tessival::platform
