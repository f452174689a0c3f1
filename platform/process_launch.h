#pragma once
// Starting other programs with an argument vector. No shell ever sees the arguments, so an
// address with ";", "$( )", quotes or a line break reaches the program as one argument.
#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace tessival::platform {

// A started child process. Wait() reaps it; a child never waited for is handed to a
// reaper when this object goes, so it does not linger as a zombie.
class ChildProcess {
 public:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  ChildProcess(ChildProcess&& other) noexcept : pid_(other.pid_) { other.pid_ = -1; }
  ChildProcess& operator=(ChildProcess&&) = delete;
  ~ChildProcess();

  pid_t pid() const { return pid_; }
  // Blocks until the child ends; its exit status (128 + signal when killed), or -1.
  int Wait();
  // Gives up the child: a background thread reaps it when it ends.
  void Detach();

 private:
  pid_t pid_;
};

// Starts argv[0] (searched in PATH when it has no "/") with argv as its arguments and the
// program's environment. Nothing when it could not be started.
std::optional<ChildProcess> SpawnProcess(const std::vector<std::string>& argv);

// Starts a program that runs on by itself; true when it started.
bool LaunchDetached(const std::vector<std::string>& argv);

}  // namespace tessival::platform
