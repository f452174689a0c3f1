#pragma once
// A real server program started for a test on 127.0.0.1: written its configuration into a
// fresh folder, started with an argument vector, waited for until its port accepts, and
// stopped when the object goes.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tessival::net::testing {

class PeerProcess {
 public:
  PeerProcess() = default;
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // Starts argv and waits up to 10 s for 127.0.0.1:port; false (with the reason in
  // error()) when the program is missing or never listens.
  bool Start(const std::vector<std::string>& argv, int port);
  void Stop();
  const std::string& error() const { return error_; }

 private:
  pid_t pid_ = -1;
  std::string error_;
};

// A fresh folder under the temporary directory, removed with the object.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name);
  ~ScratchFolder();
  const std::filesystem::path& path() const { return path_; }
  void Write(const std::string& relative, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

// True when something accepts connections on 127.0.0.1:port.
bool PortAccepts(int port);

// The full path of a program, searching PATH and the system folders; empty when absent.
std::string FindProgram(const std::string& name);

}  // namespace tessival::net::testing
