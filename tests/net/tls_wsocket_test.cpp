// The TLS layer inside the socket chain: the user hears of the connection only once the
// handshake is done, and line mode gets every line of records read in one go.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "loopback_peer.h"
#include "net/wsocket.h"
#include "platform/message_loop.h"
#include "tls_peers.h"

namespace tessival::net {
namespace {

using testing::RunUntil;
using testing::ScriptedServer;
using testing::TestAuthority;
using testing::TlsServerConnection;

class TlsWSocketTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TestAuthority::Get().ok()) GTEST_SKIP() << TestAuthority::Get().error();
    socket_.SetTlsCaFile(TestAuthority::Get().ca_file());
    socket_.OnSessionConnected = [this](TCustomWSocket& s, Word error) {
      connected_.push_back(error);
      if (error == 0) {
        EXPECT_TRUE(socket_.TlsEstablished());
        s.SendText("hello\r\n");
      }
    };
    socket_.OnSessionClosed = [this](TCustomWSocket&, Word error) { closed_.push_back(error); };
  }
  void Connect(const ScriptedServer& server) {
    socket_.SetAddr("127.0.0.1");
    socket_.SetPort(server.port_text());
    socket_.SetTlsEnabled(true);
    socket_.SetTlsServerName("localhost");
    socket_.Connect();
  }

  platform::MessageLoop loop_;
  TWSocket socket_{loop_};
  std::vector<Word> connected_;
  std::vector<Word> closed_;
};

TEST_F(TlsWSocketTest, LineModeGetsEveryLineOfRecordsReadAtOnce) {
  std::string all;
  for (int i = 0; i < 2000; ++i) all += "line " + std::to_string(i) + "\r\n";
  std::string heard;
  ScriptedServer server([&](int fd) {
    TlsServerConnection tls(fd);
    heard = tls.ReadLine();
    tls.Write(all);
    tls.Shutdown();
  });
  std::vector<std::string> lines;
  socket_.SetLineMode(true);
  socket_.OnDataAvailable = [&](TCustomWSocket& s, Word) { lines.push_back(s.ReceiveText()); };
  Connect(server);
  ASSERT_TRUE(RunUntil(loop_, [&] { return !closed_.empty(); }));
  server.Join();
  ASSERT_EQ(lines.size(), 2000u);
  EXPECT_EQ(lines.front(), "line 0\r\n");
  EXPECT_EQ(lines.back(), "line 1999\r\n");
  EXPECT_EQ(connected_, std::vector<Word>{0});
  EXPECT_EQ(closed_, std::vector<Word>{0});  // close_notify came: a clean end
  EXPECT_EQ(heard, "hello\r\n");
}

TEST_F(TlsWSocketTest, UntrustedServerIsAFailedConnectionAndNothingIsSent) {
  socket_.SetTlsCaFile("");
  ScriptedServer server([](int fd) { TlsServerConnection tls(fd); });
  Connect(server);
  ASSERT_TRUE(RunUntil(loop_, [&] { return !connected_.empty(); }));
  EXPECT_EQ(connected_, std::vector<Word>{static_cast<Word>(kTlsHandshakeError)});
  EXPECT_EQ(socket_.TlsErrorText(), "certificate verify failed: unable to get local issuer certificate");
  EXPECT_EQ(socket_.State(), wsClosed);
}

}  // namespace
}  // namespace tessival::net
