#include "platform/wsock_api.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/message_loop.h"
#include "platform/message_window.h"
#include "platform/unique_fd.h"
#include "platform/wsock_errors.h"

namespace tessival::platform {
namespace {

using ::testing::ElementsAre;

TEST(WinSockErrors, MapErrnoAndNameTheNumbers) {
  EXPECT_EQ(WinSockErrorFromErrno(ECONNREFUSED), 10061);
  EXPECT_EQ(WinSockErrorFromErrno(EWOULDBLOCK), 10035);
  EXPECT_EQ(WinSockErrorFromErrno(ECONNRESET), 10054);
  EXPECT_EQ(WinSockErrorFromErrno(EPIPE), 10053);
  EXPECT_EQ(WinSockErrorFromErrno(ENOTCONN), 10057);
  EXPECT_EQ(WinSockErrorDesc(10061), "Connection refused");
  EXPECT_EQ(WinSockErrorDesc(10038), "Socket operation on non-socket");
  EXPECT_EQ(WinSockErrorDesc(10071), "Too many levels of remote in path");
  EXPECT_EQ(WinSockErrorDesc(10035), "Operation would block");
  EXPECT_EQ(WinSockErrorDesc(11001), "Host not found");
  EXPECT_EQ(WinSockErrorDesc(0), "No Error");
  EXPECT_EQ(WinSockErrorDesc(10072), "Not a WinSock error");
}

constexpr UINT kSocketMessage = WM_USER + 1;

// One end of a socket pair under the facade, the other end plain, and a window that
// records the select events it gets.
class AsyncSelectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WsStartup();
    int ends[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    socket = WsAdoptDescriptor(ends[0], SOCK_STREAM);
    peer.reset(ends[1]);
    ASSERT_EQ(WsAsyncSelect(socket, &window, kSocketMessage, FD_READ | FD_WRITE | FD_CLOSE), 0);
  }
  void TearDown() override {
    WsCloseSocket(socket);
    WsCleanup();
  }
  std::vector<long> Pump() {
    events.clear();
    loop.ProcessMessages();
    loop.ProcessMessages();
    return events;
  }
  void PeerWrites(const std::string& data) {
    ASSERT_EQ(::write(peer.get(), data.data(), data.size()), static_cast<ssize_t>(data.size()));
  }

  MessageLoop loop;
  std::vector<long> events;
  MessageWindow window{loop, [this](UINT message, WPARAM, LPARAM lparam) {
                         if (message == kSocketMessage) {
                           events.push_back(WSAGetSelectEvent(lparam));
                           EXPECT_EQ(WSAGetSelectError(lparam), 0);
                         }
                         return 0;
                       }};
  TSocket socket = INVALID_SOCKET;
  UniqueFd peer;
};

TEST_F(AsyncSelectTest, ReadEventComesAgainOnlyAfterAReceive) {
  EXPECT_THAT(Pump(), ElementsAre(FD_WRITE));  // writable at registration, once
  PeerWrites("abc");
  EXPECT_THAT(Pump(), ElementsAre(FD_READ));
  PeerWrites("def");
  EXPECT_THAT(Pump(), ElementsAre());  // not re-enabled: nothing was received
  char buffer[2];
  EXPECT_EQ(WsRecv(socket, buffer, 2, 0), 2);
  EXPECT_THAT(Pump(), ElementsAre(FD_READ));  // data is still waiting
}

TEST_F(AsyncSelectTest, CloseComesOnceAfterTheLastByteWasRead) {
  Pump();
  PeerWrites("tail");
  peer.reset();
  EXPECT_THAT(Pump(), ElementsAre(FD_READ));
  char buffer[16];
  EXPECT_EQ(WsRecv(socket, buffer, sizeof buffer, 0), 4);
  EXPECT_THAT(Pump(), ElementsAre(FD_CLOSE));
  EXPECT_THAT(Pump(), ElementsAre());
}

TEST_F(AsyncSelectTest, PartialSendReenablesTheWriteEvent) {
  Pump();
  const std::string big(4 * 1024 * 1024, 'x');
  const int sent = WsSend(socket, big.data(), static_cast<int>(big.size()), 0);
  ASSERT_GT(sent, 0);
  ASSERT_LT(sent, static_cast<int>(big.size()));
  EXPECT_THAT(Pump(), ElementsAre());  // still full
  std::vector<char> sink(1 << 20);
  int drained = 0;
  while (drained < sent) {
    const ssize_t n = ::read(peer.get(), sink.data(), sink.size());
    ASSERT_GT(n, 0);
    drained += static_cast<int>(n);
  }
  EXPECT_THAT(Pump(), ElementsAre(FD_WRITE));
}

TEST(WsConnect, RefusedConnectionEndsAsConnectEventWithItsError) {
  MessageLoop loop;
  std::vector<LPARAM> replies;
  MessageWindow window(loop, [&](UINT message, WPARAM, LPARAM lparam) {
    if (message == kSocketMessage) replies.push_back(lparam);
    return 0;
  });
  WsStartup();
  // A port that was just free: bind one, note it, release it.
  const TSocket probe = WsSocket(SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(WsBind(probe, address), 0);
  ASSERT_EQ(WsGetSockName(probe, &address), 0);
  WsCloseSocket(probe);

  const TSocket s = WsSocket(SOCK_STREAM, 0);
  ASSERT_EQ(WsAsyncSelect(s, &window, kSocketMessage, FD_CONNECT | FD_READ | FD_WRITE | FD_CLOSE), 0);
  EXPECT_EQ(WsConnect(s, address), SOCKET_ERROR);
  EXPECT_EQ(WsGetLastError(), WSAEWOULDBLOCK);
  while (replies.empty()) loop.RunOnce();
  loop.ProcessMessages();
  ASSERT_EQ(replies.size(), 1u);
  EXPECT_EQ(WSAGetSelectEvent(replies[0]), FD_CONNECT);
  EXPECT_EQ(WSAGetSelectError(replies[0]), WSAECONNREFUSED);
  WsCloseSocket(s);
  WsCleanup();
}

}  // namespace
}  // namespace tessival::platform
