#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/http_cli.h"
#include "platform/message_loop.h"
#include "dante_peer.h"
#include "unknown_hosts.h"
#include "web_peers.h"

namespace tessival::net {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using testing::NginxPeer;
using testing::TinyproxyPeer;

class HttpRealPeersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!nginx_.Start()) GTEST_SKIP() << "nginx is not available: " << nginx_.error();
    http_.Timeout = 10s;
    http_.ReceiveStream = &body_;
  }
  void Fetch(const std::string& url) {
    http_.URL = url;
    http_.Get();
  }

  NginxPeer nginx_;
  platform::MessageLoop loop_;
  THttpCli http_{loop_};
  platform::TMemoryStream body_;
};

TEST_F(HttpRealPeersTest, StaticFileArrivesWhole) {
  std::string big;
  for (int i = 0; big.size() < 3'000'000; ++i) big += "line " + std::to_string(i) + "\r\n";
  nginx_.AddFile("big.txt", big);
  Fetch(nginx_.url("/big.txt"));
  EXPECT_EQ(http_.StatusCode(), 200);
  EXPECT_EQ(http_.ContentLength(), static_cast<std::int64_t>(big.size()));
  EXPECT_EQ(http_.ContentType(), "text/plain");
  EXPECT_TRUE(body_.AsString() == big);
  EXPECT_EQ(http_.DocFileName(), "big.txt");
}

TEST_F(HttpRealPeersTest, NotFoundRaisesWithTheServersReason) {
  try {
    Fetch(nginx_.url("/missing.html"));
    FAIL() << "no exception";
  } catch (const EHttpException& e) {
    EXPECT_EQ(e.ErrorCode, 404);
    EXPECT_STREQ(e.what(), "Not Found");
  }
  // Only what came with the header may have been stored, and it is the 404 page's start.
  EXPECT_EQ(std::string("<html>").compare(0, body_.AsString().size(), body_.AsString(), 0, 6), 0);
}

TEST_F(HttpRealPeersTest, RelocationChainEndsAtTheFinalPage) {
  Fetch(nginx_.url("/r1"));
  EXPECT_EQ(http_.StatusCode(), 200);
  EXPECT_EQ(body_.AsString(), "<html><body>index</body></html>\n");
  EXPECT_THAT(http_.Location(), HasSubstr("/index.html"));
}

TEST_F(HttpRealPeersTest, RelativeLocationIsResolvedAgainstTheDirectory) {
  Fetch(nginx_.url("/dir/moved.html"));
  EXPECT_EQ(body_.AsString(), "<html>next</html>\n");
}

TEST_F(HttpRealPeersTest, BasicAuthenticationOpensTheProtectedFolder) {
  EXPECT_THROW(Fetch(nginx_.url("/secret/")), EHttpException);
  EXPECT_EQ(http_.StatusCode(), 401);
  body_.Clear();
  http_.Username = NginxPeer::kUser;
  http_.Password = NginxPeer::kPassword;
  Fetch(nginx_.url("/secret/"));
  EXPECT_EQ(body_.AsString(), "<html>for readers only</html>\n");
  EXPECT_EQ(http_.DocFileName(), "document.htm");
}

TEST_F(HttpRealPeersTest, CredentialsInTheAddressAreUsed) {
  Fetch("http://" + std::string(NginxPeer::kUser) + ":" + NginxPeer::kPassword + "@" + nginx_.address() +
        "/secret/index.html");
  EXPECT_EQ(http_.StatusCode(), 200);
}

TEST_F(HttpRealPeersTest, ProxyWithBasicAuthenticationFetchesThePage) {
  TinyproxyPeer proxy;
  if (!proxy.Start()) GTEST_SKIP() << "tinyproxy is not available: " << proxy.error();
  http_.Proxy = "127.0.0.1";
  http_.ProxyPort = std::to_string(proxy.port());
  http_.ProxyUsername = TinyproxyPeer::kUser;
  http_.ProxyPassword = "wrong";
  EXPECT_THROW(Fetch(nginx_.url("/dir/page.html")), EHttpException);
  // Refused as unauthorised (this proxy answers 401 rather than 407).
  EXPECT_TRUE(http_.StatusCode() == 401 || http_.StatusCode() == 407) << http_.StatusCode();
  body_.Clear();
  http_.ProxyPassword = TinyproxyPeer::kPassword;
  Fetch(nginx_.url("/dir/page.html"));
  EXPECT_EQ(http_.StatusCode(), 200);
  EXPECT_EQ(body_.AsString(), "<html>page</html>\n");
}

// The scripted SOCKS tests of the socket layer cover 4A, which this server does not speak.
TEST_F(HttpRealPeersTest, SocksFourAndFiveCarryTheRequest) {
  testing::DanteServer dante(testing::DanteServer::Method::kNone);
  if (!dante.running()) GTEST_SKIP() << "dante is not available";
  for (const char* level : {"4", "5"}) {
    body_.Clear();
    testing::RouteThroughSocks(http_, dante.port(), level);
    int socks_connected = 0;
    http_.OnSocksConnected = [&](THttpCli&, std::uint16_t error) {
      EXPECT_EQ(error, 0);
      ++socks_connected;
    };
    try {
      Fetch(nginx_.url("/dir/page.html"));
    } catch (const EHttpException& e) {
      ADD_FAILURE() << "SOCKS " << level << ": " << e.what();
    }
    EXPECT_EQ(http_.StatusCode(), 200) << level;
    EXPECT_EQ(body_.AsString(), "<html>page</html>\n") << level;
    EXPECT_EQ(socks_connected, 1) << level;
  }
}

// The name "localhost" reaches the SOCKS server unresolved: the client could not look up
// any name here.
TEST_F(HttpRealPeersTest, Socks5ServerResolvesTheNameItIsGiven) {
  testing::DanteServer dante(testing::DanteServer::Method::kNone);
  if (!dante.running()) GTEST_SKIP() << "dante is not available";
  testing::RouteThroughSocks(http_, dante.port(), "5");
  {
    testing::ScopedUnknownHosts no_local_names;
    Fetch("http://localhost:" + std::to_string(nginx_.port()) + "/dir/page.html");
  }
  EXPECT_EQ(http_.StatusCode(), 200);
  EXPECT_EQ(body_.AsString(), "<html>page</html>\n");
  EXPECT_EQ(http_.DnsResult(), "");
}

// Each connection closes the socket, which then forgets its SOCKS server: both hops of the
// relocation and the next request must still reach the proxy. No name resolves locally, so
// a connection made directly could not even start.
TEST_F(HttpRealPeersTest, SocksRouteHoldsForRelocationsAndTheNextRequest) {
  testing::DanteServer dante(testing::DanteServer::Method::kNone);
  if (!dante.running()) GTEST_SKIP() << "dante is not available";
  testing::RouteThroughSocks(http_, dante.port(), "5");
  int socks_connected = 0;
  http_.OnSocksConnected = [&](THttpCli&, std::uint16_t error) {
    EXPECT_EQ(error, 0);
    ++socks_connected;
  };
  const std::string origin = "http://localhost:" + std::to_string(nginx_.port());
  testing::ScopedUnknownHosts no_local_names;
  Fetch(origin + "/r1");  // /r1 -> /r2 -> /index.html
  EXPECT_EQ(body_.AsString(), "<html><body>index</body></html>\n");
  EXPECT_EQ(socks_connected, 3);
  body_.Clear();
  Fetch(origin + "/dir/page.html");
  EXPECT_EQ(body_.AsString(), "<html>page</html>\n");
  EXPECT_EQ(socks_connected, 4);
  EXPECT_EQ(http_.SocksServer(), "127.0.0.1");
  EXPECT_EQ(http_.SocksPort(), std::to_string(dante.port()));
}

// SOCKS 4 carries addresses: the name is looked up here, and the proxy still gets every hop.
TEST_F(HttpRealPeersTest, Socks4RouteHoldsForRelocationsAndTheNextRequest) {
  testing::DanteServer dante(testing::DanteServer::Method::kNone);
  if (!dante.running()) GTEST_SKIP() << "dante is not available";
  testing::RouteThroughSocks(http_, dante.port(), "4");
  int socks_connected = 0;
  http_.OnSocksConnected = [&](THttpCli&, std::uint16_t) { ++socks_connected; };
  Fetch(nginx_.url("/r1"));
  Fetch(nginx_.url("/dir/page.html"));
  EXPECT_EQ(socks_connected, 4);
  EXPECT_EQ(http_.SocksLevel(), "4");
}

TEST_F(HttpRealPeersTest, RefusedSocksRequestIsReportedInTheServersWords) {
  testing::DanteServer dante(testing::DanteServer::Method::kNone);
  if (!dante.running()) GTEST_SKIP() << "dante is not available";
  // 4A is not spoken by this server: it rejects the request.
  testing::RouteThroughSocks(http_, dante.port(), "4A");
  EXPECT_THROW(Fetch(nginx_.url("/dir/page.html")), EHttpException);
  EXPECT_EQ(http_.StatusCode(), 404);
  EXPECT_EQ(http_.ReasonPhrase(), "request rejected or failed (Error #20016)");
}

}  // namespace
}  // namespace tessival::net
