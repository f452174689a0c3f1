// Queries from the window through real proxies on this machine. The service host is a name
// this process cannot look up, so only a proxy that resolves it can carry the request.
#include <gtest/gtest.h>

#include <QPushButton>
#include <functional>
#include <map>

#include "app/main_window.h"
#include "dante_peer.h"
#include "loopback_peer.h"
#include "net/proxy_choice.h"
#include "real_client_window.h"
#include "scratch_directory.h"
#include "unknown_hosts.h"
#include "web_peers.h"

namespace tessival::app {
namespace {

using net::testing::DanteServer;
using net::testing::TinyproxyPeer;

constexpr const char* kPage = "<html><body>Kurznachrichten</body></html>\n";

class ProxyWindowTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    if (!nginx_.Start()) GTEST_SKIP() << "nginx is not available: " << nginx_.error();
    nginx_.AddFile("tick/km/index.html", kPage);
    form_ = MakeRealClientWindow(dialogs_, &fetcher_);
    ::setenv("TESSIVAL_SERVICE_HOST", ("localhost:" + std::to_string(nginx_.port())).c_str(), 1);
  }
  void TearDown() override {
    form_.reset();
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ScratchDirectoryTest::TearDown();
  }
  // Runs the news service through the proxy the settings and variables choose.
  std::string Query(const net::ProxySettings& settings,
                    const std::map<std::string, std::string>& variables) {
    fetcher_->SetProxy(settings, net::ReadSystemProxies([&](const std::string& name) {
                         const auto found = variables.find(name);
                         return found == variables.end() ? std::nullopt
                                                         : std::optional<std::string>(found->second);
                       }));
    std::filesystem::remove("news.htm");
    net::testing::ScopedUnknownHosts no_direct_way;
    form_->ButtonByComponent("Button12")->click();
    return form_->StatusPanelText(2);
  }
  static net::ProxySettings Manual(const std::string& address) {
    return {net::ProxyMode::kManual, *net::ParseProxyAddress(address).server};
  }
  static net::ProxySettings System() { return {net::ProxyMode::kSystem, {}}; }

  net::testing::NginxPeer nginx_;
  RecordingDialogs* dialogs_ = nullptr;
  HttpCliFetcher* fetcher_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

const std::string kReceived = "Empfangen " + std::to_string(std::string(kPage).size()) + " Bytes";

TEST_F(ProxyWindowTest, HttpProxiesFromTheVariablesAndTheSettings) {
  TinyproxyPeer open(TinyproxyPeer::Access::kOpen);
  TinyproxyPeer guarded;
  if (!open.Start() || !guarded.Start()) GTEST_SKIP() << "tinyproxy is not available";
  const std::string open_address = "127.0.0.1:" + std::to_string(open.port());
  const std::string guarded_address = std::string(TinyproxyPeer::kUser) + ":" +
                                      TinyproxyPeer::kPassword +
                                      "@127.0.0.1:" + std::to_string(guarded.port());
  struct Case {
    net::ProxySettings settings;
    std::map<std::string, std::string> variables;
    const TinyproxyPeer* proxy;
  };
  const Case cases[] = {
      {System(), {{"http_proxy", open_address}}, &open},
      {System(), {{"ALL_PROXY", "http://" + guarded_address}}, &guarded},
      {Manual("http://" + guarded_address), {{"http_proxy", "127.0.0.1:9"}}, &guarded},
  };
  for (const Case& c : cases) {
    const std::size_t logged = c.proxy->log_text().size();
    EXPECT_EQ(Query(c.settings, c.variables), kReceived) << c.proxy->port();
    EXPECT_EQ(ReadFile("news.htm"), kPage);
    EXPECT_NE(c.proxy->log_text().find("/tick/km/", logged), std::string::npos);
  }
}

TEST_F(ProxyWindowTest, SocksFiveFromTheVariablesAndTheSettings) {
  if (!DanteServer::Installed() || !DanteServer::EnsureUser()) GTEST_SKIP() << "dante is not available";
  DanteServer open(DanteServer::Method::kNone);
  DanteServer guarded(DanteServer::Method::kUserName);
  if (!open.running() || !guarded.running()) GTEST_SKIP() << "dante does not start";
  const std::string guarded_address = std::string("socks5://") + DanteServer::kUser + ":" +
                                      DanteServer::kPassword +
                                      "@127.0.0.1:" + std::to_string(guarded.port());
  EXPECT_EQ(Query(System(), {{"all_proxy", "socks5h://127.0.0.1:" + std::to_string(open.port())}}),
            kReceived);
  const std::string target = "127.0.0.1." + std::to_string(nginx_.port());  // as the log writes it
  EXPECT_NE(open.log_text().find(target), std::string::npos) << open.log_text();
  EXPECT_EQ(Query(Manual(guarded_address), {}), kReceived);
  EXPECT_NE(guarded.log_text().find(target), std::string::npos) << guarded.log_text();
}

TEST_F(ProxyWindowTest, FailingProxyIsNamedInTheStatusLine) {
  const std::string unused = "127.0.0.1:" + std::to_string(net::testing::UnusedPort());
  EXPECT_EQ(
      Query(Manual("socks5://" + unused), {}).rfind("Fehler : 404 Proxy socks5://" + unused + ": ", 0),
      0U);
  EXPECT_EQ(
      Query(System(), {{"http_proxy", unused}}).rfind("Fehler : 404 Proxy http://" + unused + ": ", 0),
      0U);
  if (!DanteServer::Installed() || !DanteServer::EnsureUser()) GTEST_SKIP() << "dante is not available";
  DanteServer guarded(DanteServer::Method::kUserName);
  if (!guarded.running()) GTEST_SKIP() << "dante does not start";
  const std::string address = "127.0.0.1:" + std::to_string(guarded.port());
  const std::string status =
      Query(Manual("socks5://" + std::string(DanteServer::kUser) + ":falsch@" + address), {});
  EXPECT_EQ(status.rfind("Fehler : 404 Proxy socks5://" + address + ": ", 0), 0U) << status;
  EXPECT_EQ(ReadFile("news.htm").find("Kurznachrichten"), std::string::npos);
}

}  // namespace
}  // namespace tessival::app
