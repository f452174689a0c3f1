#pragma once
// Test peers on 127.0.0.1: a scripted server on its own thread (plain POSIX sockets), and
// a loop helper that runs the message loop until a condition holds, with a generous
// safety timer so that a broken test fails instead of hanging.
#include <netinet/in.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "platform/host_resolver.h"
#include "platform/message_loop.h"
#include "platform/unique_fd.h"

namespace tessival::net::testing {

// A scripted peer for the cases no real server produces on demand. It listens at once;
// on its own thread it accepts connections one after the other (waiting at most 20 s for
// each) and runs the script on each.
class ScriptedServer {
 public:
  using Script = std::function<void(int connection)>;
  using IndexedScript = std::function<void(int index, int connection)>;
  // One connection; receive_buffer > 0 sets the listener's SO_RCVBUF.
  explicit ScriptedServer(Script script, int receive_buffer = 0);
  // Up to connections connections, each handed to the script with its index.
  ScriptedServer(int connections, IndexedScript script);
  ~ScriptedServer();  // stops waiting for a client and joins the script
  int port() const { return port_; }
  std::string port_text() const { return std::to_string(port_); }
  std::string address() const { return "127.0.0.1:" + port_text(); }
  void Join();  // waits for the clients and the end of the script

 private:
  void Serve(int connections, const IndexedScript& script);

  int port_ = 0;  // before listener_: set while listener_ is made
  platform::UniqueFd listener_;
  std::atomic<int> connection_{-1};
  std::thread thread_;
};

// Blocking helpers for scripts.
std::string ReadExactly(int fd, std::size_t count);
std::string ReadUntilClosed(int fd);
void WriteAll(int fd, const std::string& data);
// Reads one HTTP request: the header up to its empty line, and a body of Content-Length bytes.
std::string ReadRequest(int fd);

// A port on 127.0.0.1 that nothing listens on (bound once and released).
int UnusedPort();

// A resolver that answers from a table and never touches the network: "peer.example"
// is 127.0.0.1 and 127.0.0.2, every other name is unknown (11001).
class TableResolver : public platform::HostResolver {
 public:
  platform::HostLookupResult LookupName(const std::string& name) override;
  platform::HostLookupResult LookupAddress(std::uint32_t address) override;
};

// Runs the loop until done() is true; false when the safety timer (20 s) ran out.
bool RunUntil(platform::MessageLoop& loop, const std::function<bool()>& done);

}  // namespace tessival::net::testing
