#include "net/custom_wsocket.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "loopback_peer.h"
#include "platform/host_resolver.h"
#include "platform/message_loop.h"

namespace tessival::net {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::ReadExactly;
using testing::ReadUntilClosed;
using testing::RunUntil;
using testing::ScriptedServer;
using testing::WriteAll;

// Records every event of a socket as a short text, in order.
struct EventLog {
  std::vector<std::string> events;
  void Attach(TCustomWSocket& s) {
    s.OnSessionConnected = [this](TCustomWSocket&, Word e) { Add("connected", e); };
    s.OnSessionClosed = [this](TCustomWSocket&, Word e) { Add("closed", e); };
    s.OnDataSent = [this](TCustomWSocket&, Word e) { Add("sent", e); };
    s.OnDnsLookupDone = [this](TCustomWSocket&, Word e) { Add("dns", e); };
  }
  void Add(const std::string& name, Word error) { events.push_back(name + " " + std::to_string(error)); }
  bool Has(const std::string& event) const {
    return std::find(events.begin(), events.end(), event) != events.end();
  }
  int Count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }
};

class CustomWSocketTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetHostResolver(std::make_shared<testing::TableResolver>()); }
  void TearDown() override { platform::SetHostResolver(nullptr); }

  void ConnectTo(TCustomWSocket& socket, int port) {
    socket.SetAddr("127.0.0.1");
    socket.SetPort(std::to_string(port));
    socket.Connect();
  }

  platform::MessageLoop loop;
};

TEST_F(CustomWSocketTest, ExchangesDataAndReportsEveryEventOnce) {
  ScriptedServer server([](int fd) {
    const std::string request = ReadExactly(fd, 5);
    WriteAll(fd, "echo:" + request);
  });
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  std::string received;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) { received += s.ReceiveText(); };
  socket.OnSessionConnected = [&](TCustomWSocket& s, Word e) {
    log.Add("connected", e);
    s.SendText("hello");
  };
  ConnectTo(socket, server.port());
  EXPECT_EQ(socket.State(), wsConnecting);
  ASSERT_TRUE(RunUntil(loop, [&] { return log.Has("closed 0"); }));
  EXPECT_EQ(received, "echo:hello");
  EXPECT_EQ(log.Count("connected 0"), 1);
  EXPECT_EQ(log.Count("closed 0"), 1);
  EXPECT_EQ(socket.State(), wsClosed);
  EXPECT_FALSE(socket.AllSent() == false);
}

TEST_F(CustomWSocketTest, RefusedConnectionReportsWinSockNumber) {
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  ConnectTo(socket, testing::UnusedPort());
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsClosed; }));
  EXPECT_EQ(log.events.front(), "connected 10061");
  EXPECT_EQ(log.Count("connected 10061"), 1);
}

TEST_F(CustomWSocketTest, PeerClosingMidStreamDeliversRemainingDataFirstThenOneClose) {
  const std::string payload(200000, 'x');
  ScriptedServer server([&](int fd) { WriteAll(fd, payload); });
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  std::string received;
  bool data_after_close = false;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) {
    if (log.Has("closed 0")) data_after_close = true;
    char buffer[1000];  // small reads: many events, and data left at the peer's close
    const int n = s.Receive(buffer, sizeof buffer);
    if (n > 0) received.append(buffer, static_cast<std::size_t>(n));
  };
  ConnectTo(socket, server.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsClosed; }));
  EXPECT_EQ(received.size(), payload.size());
  EXPECT_FALSE(data_after_close);
  EXPECT_EQ(log.Count("closed 0"), 1);
}

TEST_F(CustomWSocketTest, SendThatFitsLeavesOneBlockAndOneDataSentFromTheLoop) {
  std::string at_peer;
  ScriptedServer server([&](int fd) { at_peer = ReadExactly(fd, 5000); });
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  int send_data_total = 0;
  socket.OnSendData = [&](TCustomWSocket&, int n) { send_data_total += n; };
  socket.OnSessionConnected = [&](TCustomWSocket& s, Word) {
    log.events.clear();  // the FD_WRITE that follows the connection is not ours
    loop.ProcessMessages();
    log.events.clear();
    EXPECT_EQ(s.Send(std::string(5000, 'a').data(), 5000), 5000);
    EXPECT_TRUE(s.AllSent());
    EXPECT_EQ(s.SendBufferCount(), 1);
    EXPECT_TRUE(log.events.empty()) << "OnDataSent must come from the loop";
  };
  ConnectTo(socket, server.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return log.Has("sent 0"); }));
  server.Join();
  EXPECT_EQ(at_peer.size(), 5000u) << ::testing::PrintToString(log.events) << send_data_total;
  EXPECT_TRUE(at_peer == std::string(5000, 'a'));
  EXPECT_EQ(send_data_total, 5000);
}

// The chain only queues when the network refuses part of a send. So that this happens
// whatever the machine's load, the peer reads nothing until the queue has been looked
// at, and both ends have small socket buffers: the kernel cannot take the 4 MB at once.
TEST_F(CustomWSocketTest, SlowPeerMakesTheChainQueueAndDrainInOrder) {
  std::string at_peer;
  bool queued_seen = false;
  std::mutex mutex;
  std::condition_variable queue_looked_at;
  bool looked_at = false;
  const int total = 4 * 1024 * 1024;
  ScriptedServer server(
      [&](int fd) {
        {
          std::unique_lock lock(mutex);
          queue_looked_at.wait_for(lock, 20s, [&] { return looked_at; });
        }
        at_peer = ReadUntilClosed(fd);
      },
      4096);
  TCustomWSocket socket(loop);
  socket.OnChangeState = [](TCustomWSocket& s, TSocketState, TSocketState now) {
    const int small = 4096;
    if (now == wsOpened) ::setsockopt(s.HSocket(), SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  };
  int parts = 0;
  socket.OnSendData = [&](TCustomWSocket&, int) { ++parts; };
  std::string data(total, '\0');
  for (int i = 0; i < total; ++i) data[static_cast<std::size_t>(i)] = static_cast<char>('a' + i % 26);
  socket.OnSessionConnected = [&](TCustomWSocket& s, Word) {
    s.Send(data.data(), total);
    queued_seen = !s.AllSent() && s.SendBufferCount() > 1;
    {
      std::lock_guard lock(mutex);
      looked_at = true;
    }
    queue_looked_at.notify_all();
    s.Flush();
    s.Close();
  };
  // The default linger (on, 0 s) resets the connection on close and drops what the peer
  // has not read yet; a graceful close keeps it.
  socket.SetLingerOnOff(wsLingerOff);
  ConnectTo(socket, server.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsClosed; }));
  server.Join();
  EXPECT_TRUE(queued_seen);
  EXPECT_GT(parts, 1);
  EXPECT_EQ(at_peer.size(), data.size());
  EXPECT_TRUE(at_peer == data);
}

TEST_F(CustomWSocketTest, PropertiesRefuseChangesUnlessClosed) {
  ScriptedServer server([](int fd) { ReadUntilClosed(fd); });
  TCustomWSocket socket(loop);
  ConnectTo(socket, server.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsConnected; }));
  EXPECT_NO_THROW(socket.SetPort(server.port_text()));
  try {
    socket.SetPort("81");
    FAIL() << "expected ESocketException";
  } catch (const ESocketException& e) {
    EXPECT_STREQ(e.what(), "Cannot change Port if not closed");
  }
  int errors = 0;
  socket.OnError = [&](TCustomWSocket&) { ++errors; };
  socket.SetAddr("10.1.1.1");
  socket.SetProto("udp");
  EXPECT_EQ(errors, 2);
  EXPECT_EQ(socket.Addr(), "127.0.0.1");
  socket.Close();
  EXPECT_EQ(socket.State(), wsClosed);
  EXPECT_EQ(socket.Proto(), "tcp");
  EXPECT_EQ(socket.LocalAddr(), "0.0.0.0");
}

TEST_F(CustomWSocketTest, ConnectChecksComeInOrder) {
  TCustomWSocket socket(loop);
  socket.SetAddr("127.0.0.1");
  EXPECT_THROW(
      {
        try {
          socket.Connect();
        } catch (const ESocketException& e) {
          EXPECT_STREQ(e.what(), "Connect: No Port Specified");
          throw;
        }
      },
      ESocketException);
  TCustomWSocket no_addr(loop);
  no_addr.SetPort("80");
  try {
    no_addr.Connect();
  } catch (const ESocketException& e) {
    EXPECT_STREQ(e.what(), "Connect: No IP Address Specified");
  }
  TCustomWSocket bad_host(loop);
  bad_host.SetPort("80");
  bad_host.SetAddr("1.2.3.999");
  try {
    bad_host.Connect();
    FAIL();
  } catch (const ESocketException& e) {
    EXPECT_THAT(e.what(), HasSubstr("connect: WSocketResolveHost: Cannot convert host address"));
  }
}

TEST_F(CustomWSocketTest, ErrorMessageNamesCodeFunctionAndText) {
  TCustomWSocket socket(loop);
  try {
    socket.SendText("x");
    FAIL();
  } catch (const ESocketException& e) {
    EXPECT_STREQ(e.what(), "Error 10057 in function Send\r\nSocket is not connected");
  }
  EXPECT_EQ(socket.LastError(), 10057);
}

TEST_F(CustomWSocketTest, DnsLookupOfDottedAddressAnswersBeforeReturning) {
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  socket.DnsLookup("192.168.1.1");
  EXPECT_THAT(log.events, ElementsAre("dns 0"));
  EXPECT_EQ(socket.DnsResult(), "192.168.1.1");
  EXPECT_THAT(socket.DnsResultList(), ElementsAre("192.168.1.1"));
}

TEST_F(CustomWSocketTest, DnsLookupAnswersThroughTheLoop) {
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  socket.DnsLookup("peer.example");
  EXPECT_TRUE(log.events.empty());
  ASSERT_TRUE(RunUntil(loop, [&] { return !log.events.empty(); }));
  EXPECT_THAT(log.events, ElementsAre("dns 0"));
  EXPECT_THAT(socket.DnsResultList(), ElementsAre("127.0.0.1", "127.0.0.2"));
  EXPECT_EQ(socket.DnsResult(), "127.0.0.1");

  log.events.clear();
  socket.DnsLookup("no-such-host.example");
  ASSERT_TRUE(RunUntil(loop, [&] { return !log.events.empty(); }));
  EXPECT_THAT(log.events, ElementsAre("dns 11001"));
  EXPECT_TRUE(socket.DnsResult().empty());

  log.events.clear();
  socket.ReverseDnsLookup("127.0.0.1");
  ASSERT_TRUE(RunUntil(loop, [&] { return !log.events.empty(); }));
  EXPECT_EQ(socket.DnsResult(), "loopback.example");
}

TEST_F(CustomWSocketTest, CancelledLookupEndsWithInterruptedAndNothingElse) {
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  socket.DnsLookup("peer.example");
  socket.CancelDnsLookup();
  EXPECT_THAT(log.events, ElementsAre("dns 10004"));
  socket.DnsLookup("peer.example");  // the second answer is the only one that counts
  ASSERT_TRUE(RunUntil(loop, [&] { return log.events.size() == 2; }));
  loop.ProcessMessages();
  EXPECT_THAT(log.events, ElementsAre("dns 10004", "dns 0"));
}

TEST_F(CustomWSocketTest, EmptyLookupNameReportsErrorAndStillEnds) {
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  int errors = 0;
  socket.OnError = [&](TCustomWSocket&) { ++errors; };
  socket.DnsLookup("");
  EXPECT_EQ(errors, 1);
  EXPECT_THAT(log.events, ElementsAre("dns 10022"));
}

TEST_F(CustomWSocketTest, LookupOfUnknownNameFailsConnect) {
  TCustomWSocket socket(loop);
  socket.SetAddr("no-such-host.example");
  socket.SetPort("80");
  try {
    socket.Connect();
    FAIL();
  } catch (const ESocketException& e) {
    EXPECT_STREQ(e.what(),
                 "connect: WSocketResolveHost: Cannot convert host address "
                 "'no-such-host.example', Error #11001");
  }
}

TEST_F(CustomWSocketTest, HandlerExceptionGoesToBgExceptionAndAborts) {
  TCustomWSocket socket(loop);
  std::string message;
  socket.OnBgException = [&](TCustomWSocket&, const std::exception& e, bool& can_close) {
    message = e.what();
    can_close = true;
  };
  socket.PostTestException();
  loop.ProcessMessages();
  EXPECT_EQ(message, "Test exception in WSocket");
  EXPECT_EQ(socket.State(), wsClosed);
}

// Without the receive loop's progress check, a handler that leaves the data where it is
// would be called for ever within one event. (It reads after many calls, so that a broken
// check fails the test instead of hanging it.)
TEST_F(CustomWSocketTest, HandlerThatReadsNothingIsNotCalledForEver) {
  ScriptedServer server([&](int fd) {
    WriteAll(fd, "unread");
    ReadUntilClosed(fd);
  });
  TCustomWSocket socket(loop);
  int calls = 0;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) {
    if (++calls == 1000) s.ReceiveText();
  };
  ConnectTo(socket, server.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return calls > 0; }));
  loop.ProcessMessages();
  EXPECT_LT(calls, 10);
  EXPECT_EQ(socket.State(), wsConnected);
}

// The receive loop drops the network layer's own failures (a handler giving up on the
// data); a fault of another kind is not hidden there nor handed to OnBgException.
TEST_F(CustomWSocketTest, ReceiveLoopDropsOnlyTheLayersOwnFailures) {
  ScriptedServer server([&](int fd) {
    WriteAll(fd, "ab");
    ReadUntilClosed(fd);
  });
  TCustomWSocket socket(loop);
  int background = 0;
  socket.OnBgException = [&](TCustomWSocket&, const std::exception&, bool& can_close) {
    ++background;
    can_close = false;
  };
  int calls = 0;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) {
    char byte;
    s.Receive(&byte, 1);
    if (++calls == 1) throw ESocketException("given up");
    throw std::logic_error("a fault");
  };
  ConnectTo(socket, server.port());
  EXPECT_THROW(RunUntil(loop, [&] { return calls >= 2; }), std::logic_error);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(background, 0);
}

TEST_F(CustomWSocketTest, ListenAcceptDupAndTalk) {
  TCustomWSocket listener(loop);
  TCustomWSocket server_side(loop);
  TCustomWSocket client(loop);
  listener.SetAddr("127.0.0.1");
  listener.SetPort("0");
  listener.OnSessionAvailable = [&](TCustomWSocket& s, Word) {
    server_side.Dup(s.Accept());
    server_side.SendText("welcome");
  };
  listener.Listen();
  EXPECT_EQ(listener.State(), wsListening);
  std::string received;
  client.OnDataAvailable = [&](TCustomWSocket& s, Word) { received += s.ReceiveText(); };
  client.SetAddr("127.0.0.1");
  client.SetPort(listener.GetXPort());
  client.Connect();
  ASSERT_TRUE(RunUntil(loop, [&] { return received == "welcome"; }));
  EXPECT_EQ(server_side.State(), wsConnected);
  EXPECT_EQ(server_side.GetPeerAddr(), "127.0.0.1");
  EXPECT_EQ(listener.GetPeerAddr(), "error");
  EXPECT_THROW(client.Dup(0), ESocketException);
}

TEST_F(CustomWSocketTest, DatagramsTravelBetweenTwoUdpSockets) {
  TCustomWSocket receiver(loop);
  receiver.SetProto("udp");
  receiver.SetAddr("127.0.0.1");
  receiver.SetPort("0");
  receiver.Listen();
  ASSERT_EQ(receiver.State(), wsConnected);
  std::string datagram;
  receiver.OnDataAvailable = [&](TCustomWSocket& s, Word) {
    char buffer[100];
    sockaddr_in from{};
    const int n = s.ReceiveFrom(buffer, sizeof buffer, from);
    if (n > 0) datagram.assign(buffer, static_cast<std::size_t>(n));
  };
  TCustomWSocket sender(loop);
  sender.SetProto("udp");
  sender.SetAddr("127.0.0.1");
  sender.SetPort(receiver.GetXPort());
  bool connected = false;
  sender.OnSessionConnected = [&](TCustomWSocket&, Word) { connected = true; };
  sender.Connect();
  EXPECT_TRUE(connected);
  sender.SendText("ping");
  ASSERT_TRUE(RunUntil(loop, [&] { return datagram == "ping"; }));
}

TEST_F(CustomWSocketTest, WaitUntilClosedReturnsWhenThePeerCloses) {
  ScriptedServer server([](int fd) { WriteAll(fd, "bye"); });
  TCustomWSocket socket(loop);
  std::string received;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) { received += s.ReceiveText(); };
  ConnectTo(socket, server.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsConnected; }));
  socket.WaitUntilClosed();
  EXPECT_EQ(socket.State(), wsClosed);
  EXPECT_EQ(received, "bye");
}

TEST_F(CustomWSocketTest, ReleaseDestroysTheSocketFromTheLoop) {
  bool destroyed = false;
  struct Probe : TCustomWSocket {
    Probe(platform::MessageLoop& l, bool& flag) : TCustomWSocket(l), flag_(flag) {}
    ~Probe() override { flag_ = true; }
    bool& flag_;
  };
  TCustomWSocket::Release(std::make_unique<Probe>(loop, destroyed));
  EXPECT_FALSE(destroyed);
  loop.ProcessMessages();
  EXPECT_TRUE(destroyed);
}

}  // namespace
}  // namespace tessival::net

namespace tessival::net {
namespace {

TEST_F(CustomWSocketTest, PauseHoldsEventsUntilResume) {
  ScriptedServer server([](int fd) {
    WriteAll(fd, "held");
    ReadUntilClosed(fd);
  });
  TCustomWSocket socket(loop);
  std::string received;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) { received += s.ReceiveText(); };
  socket.OnSessionConnected = [&](TCustomWSocket& s, Word) { s.Pause(); };
  ConnectTo(socket, server.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsConnected; }));
  for (int i = 0; i < 5; ++i) loop.ProcessMessages();
  EXPECT_EQ(received, "");
  socket.Resume();
  ASSERT_TRUE(RunUntil(loop, [&] { return received == "held"; }));
}

TEST_F(CustomWSocketTest, PostCloseClosesFromTheLoop) {
  ScriptedServer server([](int fd) { ReadUntilClosed(fd); });
  TCustomWSocket socket(loop);
  EventLog log;
  log.Attach(socket);
  ConnectTo(socket, server.port());
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsConnected; }));
  socket.PostClose();
  EXPECT_EQ(socket.State(), wsConnected);
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsClosed; }));
  EXPECT_EQ(log.Count("closed 0"), 1);
}

}  // namespace
}  // namespace tessival::net
