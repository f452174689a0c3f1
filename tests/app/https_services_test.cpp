#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPushButton>

#include "app/main_window.h"
#include "app/service_table.h"
#include "net/tls_context.h"
#include "real_client_window.h"
#include "scratch_directory.h"
#include "tls_peers.h"
#include "viewer/frame_viewer.h"
#include "viewer/page_viewer.h"

namespace tessival::app {
namespace {

using net::testing::TestAuthority;
using net::testing::TlsNginxPeer;

TEST(ServiceScheme, ServicesGoOutOverHttpsAndAReplacementKeepsItsScheme) {
  ::unsetenv("TESSIVAL_SERVICE_HOST");
  for (const ServiceRow& row : ServiceTable()) {
    EXPECT_EQ(BuildQueryAddress(row, "x").rfind("https://" + std::string(row.host) + "/", 0), 0u)
        << row.caption;
  }
  ::setenv("TESSIVAL_SERVICE_HOST", "https://127.0.0.1:8443", 1);
  EXPECT_EQ(BuildQueryAddress(*FindService("News"), ""), "https://127.0.0.1:8443/tick/km/");
  EXPECT_EQ(ServiceHost(*FindService("News")), "127.0.0.1:8443");
  ::setenv("TESSIVAL_SERVICE_HOST", "127.0.0.1:8080", 1);  // a bare host: a plain local server
  EXPECT_EQ(BuildQueryAddress(*FindService("News"), ""), "http://127.0.0.1:8080/tick/km/");
  ::unsetenv("TESSIVAL_SERVICE_HOST");
}

// The window against nginx over TLS; the test authority is trusted through the environment
// variable, as a user would trust a company's authority.
class HttpsServicesTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    if (!TestAuthority::Get().ok()) GTEST_SKIP() << TestAuthority::Get().error();
    if (!nginx_.Start()) GTEST_SKIP() << "nginx is not available: " << nginx_.error();
    ::setenv(net::kTlsCaFileVariable, TestAuthority::Get().ca_file().c_str(), 1);
    form_ = MakeRealClientWindow(dialogs_);
  }
  void TearDown() override {
    form_.reset();
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ::unsetenv(net::kTlsCaFileVariable);
    ScratchDirectoryTest::TearDown();
  }
  void PointServicesAt(TlsNginxPeer::Server server) {
    const std::string origin = "https://localhost:" + std::to_string(nginx_.port(server));
    ::setenv("TESSIVAL_SERVICE_HOST", origin.c_str(), 1);
  }

  TlsNginxPeer nginx_;
  RecordingDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(HttpsServicesTest, ServiceButtonShowsTheSecurePage) {
  const std::string page = "<html><body>Kurznachrichten</body></html>\n";
  nginx_.AddFile("tick/km/index.html", page);
  PointServicesAt(TlsNginxPeer::Server::kGood);
  form_->ButtonByComponent("Button12")->click();
  EXPECT_EQ(ReadFile("news.htm"), page);
  EXPECT_EQ(form_->StatusPanelText(2), "Empfangen " + std::to_string(page.size()) + " Bytes");
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(HttpsServicesTest, BadCertificateShowsTheReasonAndNoPage) {
  nginx_.AddFile("tick/km/index.html", "<html>must not be shown</html>");
  PointServicesAt(TlsNginxPeer::Server::kExpired);
  form_->ButtonByComponent("Button12")->click();
  EXPECT_EQ(form_->StatusPanelText(2),
            "Fehler : 404 certificate verify failed: certificate has expired");
  EXPECT_EQ(ReadFile("news.htm"), "");
  viewer::TPageViewer* pane = form_->FrameViewer1().CurrentViewer();
  ASSERT_NE(pane, nullptr);
  pane->SelectAll();
  EXPECT_THAT(pane->SelText(), ::testing::HasSubstr("Das Zertifikat des Servers ist abgelaufen"));
}

}  // namespace
}  // namespace tessival::app
