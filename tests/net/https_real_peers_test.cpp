// HTTPS through the client against nginx under good and bad certificates, through SOCKS 5
// and an HTTP proxy's tunnel, across relocations, and against scripted servers that cut
// the session short or stall in the handshake.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "dante_peer.h"
#include "loopback_peer.h"
#include "net/http_cli.h"
#include "platform/message_loop.h"
#include "tls_peers.h"
#include "unknown_hosts.h"
#include "web_peers.h"

namespace tessival::net {
namespace {

using namespace std::chrono_literals;
using ::testing::AnyOf;
using ::testing::HasSubstr;
using testing::ScriptedServer;
using testing::TestAuthority;
using testing::TinyproxyPeer;
using testing::TlsNginxPeer;
using testing::TlsServerConnection;
using Server = TlsNginxPeer::Server;

class HttpsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TestAuthority::Get().ok()) GTEST_SKIP() << TestAuthority::Get().error();
    http_.Timeout = 10s;
    http_.ReceiveStream = &body_;
    http_.SetTlsCaFile(TestAuthority::Get().ca_file());
  }
  // The final status, and the reason when the request failed.
  std::string Fetch(const std::string& url) {
    body_.Clear();
    http_.URL = url;
    try {
      http_.Get();
    } catch (const EHttpException& e) {
      return std::to_string(http_.StatusCode()) + " " + e.what();
    }
    return std::to_string(http_.StatusCode());
  }

  platform::MessageLoop loop_;
  THttpCli http_{loop_};
  platform::TMemoryStream body_;
};

class HttpsNginxTest : public HttpsTest {
 protected:
  void SetUp() override {
    HttpsTest::SetUp();
    if (IsSkipped()) return;
    if (!nginx_.Start()) GTEST_SKIP() << "nginx is not available: " << nginx_.error();
  }
  TlsNginxPeer nginx_;
};

TEST_F(HttpsNginxTest, TrustedCertificateFetchesThePageByNameAndByAddress) {
  for (const char* host : {"localhost", "127.0.0.1"}) {
    EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/dir/page.html", host)), "200") << host;
    EXPECT_EQ(body_.AsString(), "<html>page</html>\n") << host;
    EXPECT_EQ(http_.ServerHost(), host);
  }
}

// Every bad certificate ends the request before anything is sent, with the reason.
TEST_F(HttpsNginxTest, BadCertificatesAndOldProtocolsAreRefusedWithTheReason) {
  struct Case {
    Server server;
    const char* host;
    const char* reason;
  };
  // clang-format off
  const Case cases[] = {
      {Server::kWrongHost,        "localhost", "404 certificate verify failed: hostname mismatch"},
      {Server::kWrongHost,        "127.0.0.1", "404 certificate verify failed: IP address mismatch"},
      {Server::kExpired,          "localhost", "404 certificate verify failed: certificate has expired"},
      {Server::kUnknownAuthority, "127.0.0.1", "404 certificate verify failed: unable to get local issuer certificate"},
      {Server::kSelfSigned,       "localhost", "404 certificate verify failed: self-signed certificate"},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(Fetch(nginx_.url(c.server, "/index.html", c.host)), c.reason);
    EXPECT_EQ(body_.AsString(), "");
  }
  EXPECT_THAT(Fetch(nginx_.url(Server::kTls10Only, "/index.html")),
              AnyOf(HasSubstr("protocol version"), HasSubstr("unsupported protocol")));
}

TEST_F(HttpsNginxTest, TheSystemStoreAloneDoesNotKnowTheTestAuthority) {
  http_.SetTlsCaFile("");
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/index.html")),
            "404 certificate verify failed: unable to get local issuer certificate");
}

TEST_F(HttpsNginxTest, InsecureModeIsTheOnlyWayPastABadCertificate) {
  http_.SetTlsVerification(TTlsVerification::kInsecure);
  EXPECT_EQ(Fetch(nginx_.url(Server::kSelfSigned, "/index.html")), "200");
  http_.SetTlsVerification(TTlsVerification::kVerifyPeer);
  EXPECT_THAT(Fetch(nginx_.url(Server::kSelfSigned, "/index.html")), HasSubstr("self-signed"));
}

TEST_F(HttpsNginxTest, PlainHttpOnTheSecurePortFailsTheHandshake) {
  const std::string url = "https://127.0.0.1:" + std::to_string(nginx_.plain_port()) + "/";
  EXPECT_EQ(Fetch(url), "404 wrong version number");
}

TEST_F(HttpsNginxTest, RelocationsLeadFromHttpToHttpsAndBack) {
  EXPECT_EQ(Fetch(nginx_.plain_url("/to-secure")), "200");
  EXPECT_EQ(body_.AsString(), "<html>page</html>\n");
  EXPECT_EQ(http_.Location(), nginx_.url(Server::kGood, "/dir/page.html", "localhost"));
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/to-plain")), "200");
  EXPECT_EQ(body_.AsString(), "<html><body>index</body></html>\n");
  EXPECT_EQ(http_.Location(), nginx_.plain_url("/index.html"));
}

TEST_F(HttpsNginxTest, RelativeRelocationsStayOnTheSecureServer) {
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/moved")), "200");
  EXPECT_EQ(body_.AsString(), "<html>page</html>\n");
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/dir/relative")), "200");
  EXPECT_EQ(body_.AsString(), "<html>next</html>\n");
  EXPECT_EQ(http_.Location(), nginx_.url(Server::kGood, "/dir/next.html"));
}

// A quick second handshake with a server, never with another one.
TEST_F(HttpsNginxTest, SecondConnectionToTheSameServerResumesItsSession) {
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/index.html", "localhost")), "200");
  EXPECT_FALSE(http_.Socket().TlsResumed());
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/dir/page.html", "localhost")), "200");
  EXPECT_TRUE(http_.Socket().TlsResumed());
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/index.html", "127.0.0.1")), "200");
  EXPECT_FALSE(http_.Socket().TlsResumed());
}

TEST_F(HttpsNginxTest, FiftyMegabytesArriveWhole) {
  constexpr std::size_t kSize = 50'000'000;
  std::string big;
  big.reserve(kSize);
  for (std::size_t i = 0; i < kSize; ++i) big.push_back(static_cast<char>((i * 2654435761u) >> 13));
  nginx_.AddFile("big.bin", big);
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/big.bin")), "200");
  EXPECT_EQ(http_.RcvdCount(), static_cast<std::int64_t>(big.size()));
  EXPECT_TRUE(body_.AsString() == big);
}

TEST_F(HttpsNginxTest, Socks5CarriesTheTlsSession) {
  testing::DanteServer dante(testing::DanteServer::Method::kNone);
  if (!dante.running()) GTEST_SKIP() << "dante is not available";
  testing::RouteThroughSocks(http_, dante.port(), "5");
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/dir/page.html", "localhost")), "200");
  EXPECT_EQ(body_.AsString(), "<html>page</html>\n");
}

// The TLS sessions of a relocation and of the next request go through the proxy as well.
TEST_F(HttpsNginxTest, Socks5CarriesEveryConnectionOfTheClient) {
  testing::DanteServer dante(testing::DanteServer::Method::kNone);
  if (!dante.running()) GTEST_SKIP() << "dante is not available";
  testing::RouteThroughSocks(http_, dante.port(), "5");
  int socks_connected = 0;
  http_.OnSocksConnected = [&](THttpCli&, std::uint16_t) { ++socks_connected; };
  testing::ScopedUnknownHosts no_local_names;
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/moved", "localhost")), "200");
  EXPECT_EQ(body_.AsString(), "<html>page</html>\n");
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/index.html", "localhost")), "200");
  EXPECT_EQ(socks_connected, 3);
}

TEST_F(HttpsNginxTest, ProxyOpensATunnelOnlyWithItsPassword) {
  TinyproxyPeer proxy;
  if (!proxy.Start()) GTEST_SKIP() << "tinyproxy is not available: " << proxy.error();
  http_.Proxy = "127.0.0.1";
  http_.ProxyPort = std::to_string(proxy.port());
  http_.ProxyUsername = TinyproxyPeer::kUser;
  http_.ProxyPassword = "wrong";
  const std::string refused = Fetch(nginx_.url(Server::kGood, "/dir/page.html"));
  EXPECT_THAT(refused, AnyOf(HasSubstr("401"), HasSubstr("407")));
  http_.ProxyPassword = TinyproxyPeer::kPassword;
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/dir/page.html")), "200");
  EXPECT_EQ(body_.AsString(), "<html>page</html>\n");
  EXPECT_EQ(http_.Path(), "/dir/page.html");  // the request inside the tunnel is the server's form
  // A bad certificate behind the tunnel is refused as it would be directly.
  EXPECT_THAT(Fetch(nginx_.url(Server::kExpired, "/index.html")), HasSubstr("certificate has expired"));
}

// The proxy is reached through the SOCKS server for every tunnel, not only the first.
TEST_F(HttpsNginxTest, TunnelsOfLaterRequestsStillGoThroughTheSocksServer) {
  testing::DanteServer dante(testing::DanteServer::Method::kNone);
  if (!dante.running()) GTEST_SKIP() << "dante is not available";
  TinyproxyPeer proxy;
  if (!proxy.Start()) GTEST_SKIP() << "tinyproxy is not available: " << proxy.error();
  http_.Proxy = "127.0.0.1";
  http_.ProxyPort = std::to_string(proxy.port());
  http_.ProxyUsername = TinyproxyPeer::kUser;
  http_.ProxyPassword = TinyproxyPeer::kPassword;
  testing::RouteThroughSocks(http_, dante.port());
  int socks_connected = 0;
  http_.OnSocksConnected = [&](THttpCli&, std::uint16_t) { ++socks_connected; };
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/dir/page.html")), "200");
  EXPECT_EQ(Fetch(nginx_.url(Server::kGood, "/index.html")), "200");
  EXPECT_EQ(socks_connected, 2);
}

// ---- Scripted servers --------------------------------------------------------------

// Answers one request with `answer`, then ends the TCP connection with or without TLS's
// closing message.
ScriptedServer AnsweringServer(const std::string& answer, bool close_notify) {
  return ScriptedServer([answer, close_notify](int fd) {
    TlsServerConnection tls(fd);
    tls.ReadRequest();
    tls.Write(answer);
    if (close_notify) tls.Shutdown();
  });
}

TEST_F(HttpsTest, CutShortSessionKeepsTheBodyButReportsTheTruncation) {
  ScriptedServer server = AnsweringServer("HTTP/1.0 200 OK\r\n\r\nthe first half", false);
  EXPECT_THAT(Fetch("https://localhost:" + server.port_text() + "/"), HasSubstr("close_notify"));
  EXPECT_EQ(http_.StatusCode(), THttpCli::kLocalFailureStatus);
  EXPECT_EQ(body_.AsString(), "the first half");
}

TEST_F(HttpsTest, CutShortSessionWithLengthMissingIsTruncated) {
  ScriptedServer server = AnsweringServer("HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nten bytes.",
                                          false);
  EXPECT_THAT(Fetch("https://localhost:" + server.port_text() + "/"), HasSubstr("close_notify"));
  EXPECT_EQ(body_.AsString(), "ten bytes.");
}

// Many servers omit the closing message; with every announced byte there nothing was lost.
TEST_F(HttpsTest, MissingCloseNotifyAfterTheWholeAnnouncedBodyIsNoFault) {
  ScriptedServer server = AnsweringServer("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nten bytes.",
                                          false);
  EXPECT_EQ(Fetch("https://localhost:" + server.port_text() + "/"), "200");
  EXPECT_EQ(body_.AsString(), "ten bytes.");
}

TEST_F(HttpsTest, CloseNotifyEndsAPageWithoutLength) {
  ScriptedServer server = AnsweringServer("HTTP/1.0 200 OK\r\n\r\nwhole", true);
  EXPECT_EQ(Fetch("https://localhost:" + server.port_text() + "/"), "200");
  EXPECT_EQ(body_.AsString(), "whole");
}

// The proxy's password goes into the CONNECT only; the request inside the tunnel is the
// one a server gets directly.
TEST_F(HttpsTest, ProxyCredentialsStayOutsideTheTunnel) {
  std::string connect_request, inner_request;
  ScriptedServer proxy([&](int fd) {
    connect_request = testing::ReadRequest(fd);
    testing::WriteAll(fd, "HTTP/1.0 200 Connection established\r\n\r\n");
    TlsServerConnection tls(fd);
    inner_request = tls.ReadRequest();
    tls.Write("HTTP/1.0 200 OK\r\nContent-Length: 6\r\n\r\ninside");
    tls.Shutdown();
  });
  http_.Proxy = "127.0.0.1";
  http_.ProxyPort = proxy.port_text();
  http_.ProxyUsername = "pu";
  http_.ProxyPassword = "pp";
  EXPECT_EQ(Fetch("https://localhost:8443/a/b?c"), "200");
  EXPECT_EQ(body_.AsString(), "inside");
  EXPECT_THAT(connect_request, ::testing::StartsWith("CONNECT localhost:8443 HTTP/1.0\r\n"));
  EXPECT_THAT(connect_request, HasSubstr("Proxy-Authorization: Basic cHU6cHA=\r\n"));
  EXPECT_THAT(inner_request, ::testing::StartsWith("GET /a/b?c HTTP/1.0\r\n"));
  EXPECT_THAT(inner_request, HasSubstr("Host: localhost\r\n"));
  EXPECT_THAT(inner_request, ::testing::Not(HasSubstr("Proxy-Authorization")));
}

TEST_F(HttpsTest, ProxyRefusingTheTunnelGivesItsStatus) {
  ScriptedServer proxy([](int fd) {
    testing::ReadRequest(fd);
    testing::WriteAll(fd, "HTTP/1.0 407 Proxy Authentication Required\r\n\r\n");
  });
  http_.Proxy = "127.0.0.1";
  http_.ProxyPort = proxy.port_text();
  EXPECT_EQ(Fetch("https://localhost/"), "407 Proxy Authentication Required");
}

TEST_F(HttpsTest, StalledHandshakeEndsWithTheTimeout) {
  ScriptedServer server([](int fd) { testing::ReadUntilClosed(fd); });  // takes the hello, says nothing
  http_.Timeout = 300ms;
  EXPECT_THAT(Fetch("https://localhost:" + server.port_text() + "/"), HasSubstr("10060"));
}

TEST_F(HttpsTest, ServerClosingInTheHandshakeIsAFailureNotAnEmptyPage) {
  ScriptedServer server([](int fd) { testing::ReadExactly(fd, 5); });
  EXPECT_EQ(Fetch("https://localhost:" + server.port_text() + "/"),
            "404 connection closed during the TLS handshake");
}

}  // namespace
}  // namespace tessival::net
