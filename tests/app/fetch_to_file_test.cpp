#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "real_client_window.h"
#include "unknown_hosts.h"
#include "scratch_directory.h"
#include "web_peers.h"

#include <QPushButton>

namespace tessival::app {
namespace {

using namespace std::chrono_literals;

// The window with the program's own HTTP client and the plain-text pane, against nginx.
class FetchToFileTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    if (!nginx_.Start()) GTEST_SKIP() << "nginx is not available: " << nginx_.error();
    form_ = MakeRealClientWindow(dialogs_);
  }
  void TearDown() override {
    form_.reset();
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ScratchDirectoryTest::TearDown();
  }

  net::testing::NginxPeer nginx_;
  RecordingDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(FetchToFileTest, ServiceButtonWritesTheAnswerAndReportsItsSize) {
  const std::string page = "<html><body>Kurznachrichten</body></html>\n";
  nginx_.AddFile("tick/km/index.html", page);
  ::setenv("TESSIVAL_SERVICE_HOST", nginx_.address().c_str(), 1);
  form_->ButtonByComponent("Button12")->click();
  EXPECT_EQ(ReadFile("news.htm"), page);
  EXPECT_EQ(form_->StatusPanelText(2), "Empfangen " + std::to_string(page.size()) + " Bytes");
  EXPECT_EQ(ReadFile("url.txt"), "http://" + nginx_.address() + "/tick/km/\r\n");
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(FetchToFileTest, MissingPageReportsTheStatusAndLeavesTheFile) {
  ::setenv("TESSIVAL_SERVICE_HOST", nginx_.address().c_str(), 1);
  form_->SetMemoText("Haus");
  form_->ButtonByComponent("Button6")->click();  // no such script on this server
  EXPECT_EQ(form_->StatusPanelText(2), "Fehler : 404 Not Found");
  EXPECT_TRUE(std::filesystem::exists("wortschatz.htm"));
}

TEST_F(FetchToFileTest, DeadHostReportsThatItCannotBeResolved) {
  ::setenv("TESSIVAL_SERVICE_HOST", "dead.host.test", 1);
  {
    net::testing::ScopedUnknownHosts no_hosts;
    form_->ButtonByComponent("Button12")->click();
  }
  EXPECT_EQ(form_->StatusPanelText(2), "Fehler : 404 can't resolve hostname to IP address");
  EXPECT_EQ(ReadFile("news.htm"), "");
}

}  // namespace
}  // namespace tessival::app
