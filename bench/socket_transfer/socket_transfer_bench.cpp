// Bulk transfer over loopback: TWSocket against socat doing the same transfer, alternated
// in one run; and the processor time of an idle 5-second Wait.
//
//   socket_transfer_bench [MiB per transfer, default 1024] [runs, default 11]
//
// Send:    data source -> TCP -> socat sink writing to /dev/null
//          (A: TWSocket sending in 256 KiB chunks; B: socat reading /dev/zero)
// Receive: socat source reading /dev/zero -> TCP -> data sink
//          (A: TWSocket receiving into a 64 KiB buffer; B: socat writing to /dev/null)
// Each time runs until the peer process has exited, so every byte has arrived.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "net/wsocket.h"
#include "platform/message_loop.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using tessival::net::TCustomWSocket;
using tessival::net::TWSocket;
using tessival::net::Word;
namespace platform = tessival::platform;

pid_t Spawn(const std::string& command) {
  std::vector<std::string> args = {"/bin/sh", "-c", "exec " + command};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    std::perror("posix_spawn");
    std::exit(1);
  }
  return pid;
}

void WaitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
}

int FreePort() {
  platform::MessageLoop loop;
  TWSocket probe(loop);
  probe.SetAddr("127.0.0.1");
  probe.SetPort("0");
  probe.Listen();
  const int port = std::stoi(probe.GetXPort());
  probe.Close();
  return port;
}

// Connects, retrying while the spawned peer is not listening yet.
void ConnectWithRetry(platform::MessageLoop& loop, TWSocket& socket, int port, bool& connected) {
  bool refused = true;
  socket.OnSessionConnected = [&](TCustomWSocket&, Word error) {
    refused = error != 0;
    connected = error == 0;
  };
  while (refused) {
    refused = false;
    connected = false;
    socket.SetAddr("127.0.0.1");
    socket.SetPort(std::to_string(port));
    socket.SetLingerOnOff(tessival::net::wsLingerOff);
    socket.Connect();
    while (!connected && !refused) loop.RunOnce();
    if (refused) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

double SendWithTWSocket(std::uint64_t bytes) {
  const int port = FreePort();
  const auto start = Clock::now();
  const pid_t sink = Spawn("socat -u TCP-LISTEN:" + std::to_string(port) + ",reuseaddr OPEN:/dev/null");
  platform::MessageLoop loop;
  TWSocket socket(loop);
  const std::vector<char> chunk(256 * 1024, 'x');
  std::uint64_t queued = 0;
  bool connected = false, done = false;
  socket.OnDataSent = [&](TCustomWSocket& s, Word) {
    if (queued >= bytes) {
      if (!done) s.Close();
      done = true;
      return;
    }
    const int length = static_cast<int>(std::min<std::uint64_t>(chunk.size(), bytes - queued));
    queued += static_cast<std::uint64_t>(length);
    s.Send(chunk.data(), length);
  };
  ConnectWithRetry(loop, socket, port, connected);
  while (!done) loop.RunOnce();
  WaitFor(sink);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double SendWithSocat(std::uint64_t bytes) {
  const int port = FreePort();
  const auto start = Clock::now();
  const pid_t sink = Spawn("socat -u TCP-LISTEN:" + std::to_string(port) + ",reuseaddr OPEN:/dev/null");
  const pid_t source = Spawn("socat -u OPEN:/dev/zero,readbytes=" + std::to_string(bytes) +
                             " TCP:127.0.0.1:" + std::to_string(port) + ",retry=200,interval=0.005");
  WaitFor(source);
  WaitFor(sink);
  return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string SourceCommand(std::uint64_t bytes, int port) {
  return "socat -u OPEN:/dev/zero,readbytes=" + std::to_string(bytes) +
         " TCP-LISTEN:" + std::to_string(port) + ",reuseaddr";
}

double ReceiveWithTWSocket(std::uint64_t bytes) {
  const int port = FreePort();
  const auto start = Clock::now();
  const pid_t source = Spawn(SourceCommand(bytes, port));
  platform::MessageLoop loop;
  TWSocket socket(loop);
  std::vector<char> buffer(64 * 1024);
  std::uint64_t received = 0;
  bool connected = false, closed = false;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) {
    const int n = s.Receive(buffer.data(), static_cast<int>(buffer.size()));
    if (n > 0) received += static_cast<std::uint64_t>(n);
  };
  ConnectWithRetry(loop, socket, port, connected);
  socket.OnSessionClosed = [&](TCustomWSocket&, Word) { closed = true; };
  while (!closed) loop.RunOnce();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  WaitFor(source);
  if (received != bytes)
    std::fprintf(stderr, "received %llu of %llu bytes\n", static_cast<unsigned long long>(received),
                 static_cast<unsigned long long>(bytes));
  return seconds;
}

double ReceiveWithSocat(std::uint64_t bytes) {
  const int port = FreePort();
  const auto start = Clock::now();
  const pid_t source = Spawn(SourceCommand(bytes, port));
  const pid_t client = Spawn("socat -u TCP:127.0.0.1:" + std::to_string(port) +
                             ",retry=200,interval=0.005 OPEN:/dev/null");
  WaitFor(client);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  WaitFor(source);
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double CpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// An established, silent connection; Wait with a 5-second time-out.
void IdleWait() {
  platform::MessageLoop loop;
  TWSocket listener(loop), server_side(loop), client(loop);
  listener.SetAddr("127.0.0.1");
  listener.SetPort("0");
  listener.OnSessionAvailable = [&](TCustomWSocket& s, Word) { server_side.Dup(s.Accept()); };
  listener.Listen();
  bool connected = false;
  ConnectWithRetry(loop, client, std::stoi(listener.GetXPort()), connected);
  bool never = false;
  client.SetWaitTimeout(5000);
  const double cpu_before = CpuSeconds();
  const auto start = Clock::now();
  const int result = client.Wait(never);
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("idle wait: result %d, wall %.3f s, processor time %.4f s\n", result, wall,
              CpuSeconds() - cpu_before);
}

}  // namespace

int main(int argc, char** argv) {
  ::signal(SIGPIPE, SIG_IGN);
  const std::uint64_t mib = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1024;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 11;
  const std::uint64_t bytes = mib * 1024 * 1024;
  std::vector<double> send_ws, send_socat, recv_ws, recv_socat;
  for (int run = 0; run < runs; ++run) {
    send_ws.push_back(SendWithTWSocket(bytes));
    send_socat.push_back(SendWithSocat(bytes));
    recv_ws.push_back(ReceiveWithTWSocket(bytes));
    recv_socat.push_back(ReceiveWithSocat(bytes));
    std::fprintf(stderr, "run %d: send %.3f/%.3f s, receive %.3f/%.3f s\n", run + 1, send_ws.back(),
                 send_socat.back(), recv_ws.back(), recv_socat.back());
  }
  const double mb = static_cast<double>(bytes) / 1e6;
  std::printf("%llu MiB, %d alternated runs, medians:\n", static_cast<unsigned long long>(mib), runs);
  std::printf("send:    TWSocket %.3f s (%.0f MB/s), socat %.3f s (%.0f MB/s), ratio %.3f\n",
              Median(send_ws), mb / Median(send_ws), Median(send_socat), mb / Median(send_socat),
              Median(send_ws) / Median(send_socat));
  std::printf("receive: TWSocket %.3f s (%.0f MB/s), socat %.3f s (%.0f MB/s), ratio %.3f\n",
              Median(recv_ws), mb / Median(recv_ws), Median(recv_socat), mb / Median(recv_socat),
              Median(recv_ws) / Median(recv_socat));
  IdleWait();
  return 0;
}
