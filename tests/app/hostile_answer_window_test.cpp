// An answer page made to hurt: what it names is fetched from its server, never read from
// the disk, a FIFO it names cannot freeze the window, and answers that did not come whole
// are reported as failures.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QPushButton>
#include <chrono>

#include "app/main_window.h"
#include "loopback_peer.h"
#include "real_client_window.h"
#include "scratch_directory.h"
#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/page_viewer.h"
#include "web_peers.h"

namespace tessival::app {
namespace {

constexpr const char* kNewsPath = "tick/km/index.html";  // what "Button12" fetches

class HostileAnswerWindowTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    form_ = MakeRealClientWindow(dialogs_);
  }
  void TearDown() override {
    form_.reset();
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ScratchDirectoryTest::TearDown();
  }
  void FetchNews(const std::string& host) {
    ::setenv("TESSIVAL_SERVICE_HOST", host.c_str(), 1);
    form_->ButtonByComponent("Button12")->click();
  }
  // Everything the pane shows, frame by frame.
  std::string ShownText() {
    std::string text;
    for (viewer::TPageViewer* page : form_->FrameViewer1().TopSet().Viewers()) {
      page->SelectAll();
      text += page->SelText() + "|";
    }
    return text;
  }
  std::string Local(const std::string& name) const { return (dir() / name).string(); }

  RecordingDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(HostileAnswerWindowTest, FramesComeFromTheServerAndNeverFromLocalFiles) {
  net::testing::NginxPeer nginx;
  if (!nginx.Start()) GTEST_SKIP() << "nginx is not available: " << nginx.error();
  WriteFile("geheim.htm", "<p>GEHEIMNIS");
  WriteFile("links.htm", "<p>LOKAL");
  nginx.AddFile("tick/km/links.htm", "<p>VOM SERVER");
  const std::string secret = Local("geheim.htm");
  nginx.AddFile(kNewsPath, "<html><head><base href=\"file://" + dir().string() +
                               "/\"></head><frameset cols=\"20%,20%,20%,20%,*\">"
                               "<frame src=\"" +
                               secret + "\"><frame src=\"../../../.." + secret +
                               "\"><frame src=\"file://" + secret +
                               "\"><frame src=\"geheim.htm\">"
                               "<frame src=\"links.htm\"></frameset></html>");
  FetchNews(nginx.address());
  const std::string shown = ShownText();
  EXPECT_EQ(shown.find("GEHEIMNIS"), std::string::npos) << shown;
  EXPECT_EQ(shown.find("LOKAL"), std::string::npos) << shown;
  EXPECT_NE(shown.find("VOM SERVER"), std::string::npos) << shown;
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(HostileAnswerWindowTest, AFrameNamingAFifoLeavesTheWindowResponsive) {
  net::testing::NginxPeer nginx;
  if (!nginx.Start()) GTEST_SKIP() << "nginx is not available: " << nginx.error();
  ASSERT_EQ(::mkfifo(Local("fifo").c_str(), 0600), 0);
  nginx.AddFile(kNewsPath, "<frameset cols=\"50%,*\"><frame src=\"" + Local("fifo") +
                               "\"><frame src=\"fifo\"></frameset>");
  const auto start = std::chrono::steady_clock::now();
  FetchNews(nginx.address());
  FetchNews(nginx.address());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(form_->StatusPanelText(2).rfind("Empfangen", 0), 0U) << form_->StatusPanelText(2);
}

TEST_F(HostileAnswerWindowTest, EmptyAndShortAnswersAreFailures) {
  const struct {
    std::string reply;
    std::string status;
  } cases[] = {
      {"", "leere Antwort"},
      {"HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\n0123456789",
       "Antwort unvollst\xE4ndig: 10 von 100 Bytes"},
      {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\n0123456789", "Empfangen 10 Bytes"},
  };
  for (const auto& c : cases) {
    net::testing::ScriptedServer server([&c](int fd) {
      net::testing::ReadRequest(fd);
      net::testing::WriteAll(fd, c.reply);
    });
    FetchNews(server.address());
    server.Join();
    EXPECT_EQ(form_->StatusPanelText(2), c.status);
  }
}

}  // namespace
}  // namespace tessival::app
