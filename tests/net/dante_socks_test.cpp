// SOCKS 4 and 5 against a real server (danted) in front of a local echo peer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dante_peer.h"
#include "loopback_peer.h"
#include "net/wsocket.h"
#include "platform/message_loop.h"

namespace tessival::net {
namespace {

using ::testing::ElementsAre;
using testing::DanteServer;
using testing::ReadExactly;
using testing::RunUntil;
using testing::ScriptedServer;
using testing::WriteAll;

class DanteTest : public ::testing::Test {
 protected:
  void StartDante(DanteServer::Method method) {
    if (!DanteServer::Installed()) {
      GTEST_SKIP() << "danted is not installed (Debian package dante-server; scripts/setup.sh)";
    }
    dante = std::make_unique<DanteServer>(method);
    ASSERT_TRUE(dante->running()) << "danted did not start:\n" << dante->log_text();
  }

  // Connects through danted to an echo peer and exchanges one message.
  void ConnectAndEcho(const std::string& level) {
    ScriptedServer echo([](int fd) { WriteAll(fd, "echo:" + ReadExactly(fd, 5)); });
    socket.OnSessionConnected = [this](TCustomWSocket& s, Word e) {
      connected.push_back(e);
      if (e == 0) s.SendText("hello");
    };
    socket.OnSocksError = [this](TCustomWSocket&, int code, const std::string& text) {
      errors.push_back(std::to_string(code) + " " + text);
    };
    socket.OnSocksAuthState = [this](TCustomWSocket&, TSocksAuthState s) { auth.push_back(s); };
    socket.OnDataAvailable = [this](TCustomWSocket& s, Word) { received += s.ReceiveText(); };
    socket.SetAddr("127.0.0.1");
    socket.SetPort(echo.port_text());
    socket.SetSocksServer("127.0.0.1");
    socket.SetSocksPort(std::to_string(dante->port()));
    socket.SetSocksLevel(level);
    socket.Connect();
    ASSERT_TRUE(RunUntil(loop, [&] { return received == "echo:hello" || !errors.empty(); }));
    socket.Close();
  }

  std::unique_ptr<DanteServer> dante;
  platform::MessageLoop loop;
  TWSocket socket{loop};
  std::vector<Word> connected;
  std::vector<std::string> errors;
  std::vector<TSocksAuthState> auth;
  std::string received;
};

TEST_F(DanteTest, Socks5WithoutAuthentication) {
  StartDante(DanteServer::Method::kNone);
  ConnectAndEcho("5");
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(received, "echo:hello");
  EXPECT_THAT(connected, ElementsAre(0));
  EXPECT_FALSE(socket.SocksBoundPort().empty());
}

TEST_F(DanteTest, Socks4) {
  StartDante(DanteServer::Method::kNone);
  ConnectAndEcho("4");
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(received, "echo:hello");
}

class DanteUserNameTest : public DanteTest {
 protected:
  void SetUp() override {
    if (DanteServer::Installed() && !DanteServer::EnsureUser()) {
      GTEST_SKIP() << "cannot create the system user " << DanteServer::kUser
                   << " that danted's user name method checks (needs root)";
    }
    StartDante(DanteServer::Method::kUserName);
  }
};

TEST_F(DanteUserNameTest, Socks5WithUserNameAndPassword) {
  socket.SetSocksAuthentication(socksAuthenticateUsercode);
  socket.SetSocksUsercode(DanteServer::kUser);
  socket.SetSocksPassword(DanteServer::kPassword);
  ConnectAndEcho("5");
  EXPECT_TRUE(errors.empty()) << errors.front();
  EXPECT_EQ(received, "echo:hello");
  EXPECT_THAT(auth, ElementsAre(socksAuthBegin, socksAuthAccepted));
}

TEST_F(DanteUserNameTest, WrongPasswordIsRefused) {
  socket.SetSocksAuthentication(socksAuthenticateUsercode);
  socket.SetSocksUsercode(DanteServer::kUser);
  socket.SetSocksPassword("falsch");
  ConnectAndEcho("5");
  EXPECT_THAT(errors, ElementsAre("20015 socks authentication failed"));
  EXPECT_THAT(connected, ElementsAre(20015));
}

TEST_F(DanteUserNameTest, OfferWithoutAuthenticationIsNotAcceptable) {
  ConnectAndEcho("5");
  EXPECT_THAT(errors, ElementsAre("20003 authentification method not acceptable"));
  EXPECT_THAT(connected, ElementsAre(20003));
}

}  // namespace
}  // namespace tessival::net
