// The TLS layer's received count on a connection where nothing is waiting.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

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

TEST(PinnedTls, AnIdleConnectionHasNothingReceived) {
  if (!TestAuthority::Get().ok()) GTEST_SKIP() << TestAuthority::Get().error();
  std::atomic<bool> greeted{false};
  ScriptedServer server([&](int fd) {
    TlsServerConnection tls(fd);
    greeted = tls.ReadLine() == "hello\r\n";
    tls.ReadLine();  // silent until the client says goodbye
    tls.Shutdown();
  });
  platform::MessageLoop loop;
  TWSocket socket{loop};
  bool closed = false;
  socket.SetTlsCaFile(TestAuthority::Get().ca_file());
  socket.OnSessionConnected = [](TCustomWSocket& s, Word error) {
    if (error == 0) s.SendText("hello\r\n");
  };
  socket.OnSessionClosed = [&closed](TCustomWSocket&, Word) { closed = true; };
  socket.OnDataAvailable = [](TCustomWSocket& s, Word) { s.ReceiveText(); };
  socket.SetAddr("127.0.0.1");
  socket.SetPort(server.port_text());
  socket.SetTlsEnabled(true);
  socket.SetTlsServerName("localhost");
  socket.Connect();
  ASSERT_TRUE(RunUntil(loop, [&] { return greeted.load(); }));
  // Once what the handshake left behind is read, an idle connection counts 0, not a buffer.
  EXPECT_TRUE(RunUntil(loop, [&] { return socket.RcvdCount() == 0; })) << socket.RcvdCount();
  EXPECT_TRUE(socket.TlsEstablished());
  socket.SendText("bye\r\n");
  EXPECT_TRUE(RunUntil(loop, [&] { return closed; }));
  server.Join();
}

}  // namespace
}  // namespace tessival::net
