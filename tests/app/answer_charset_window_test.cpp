// The window against a real nginx answering in UTF-8: the words reach the pane right,
// whether the set is named in the answer's header or only in the page's META, and the
// query reaches the server as UTF-8.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/main_window.h"
#include "loopback_peer.h"
#include "nginx_config.h"
#include "peer_process.h"
#include "platform/qt/text_convert.h"
#include "real_client_window.h"
#include "viewer/frame_viewer.h"
#include "viewer/page_viewer.h"
#include "scratch_directory.h"

namespace tessival::app {
namespace {

using ::testing::HasSubstr;

const std::string kGreetingUtf8 =
    "Gr\xC3\xBC\xC3\x9F"
    "e aus K\xC3\xB6ln \xE2\x80\x93 10 \xE2\x82\xAC";
const std::string kGreeting1252 =
    "Gr\xFC\xDF"
    "e aus K\xF6ln \x96 10 \x80";

// nginx with two answers: the vocabulary row's address names the set in the header only,
// the domain row's address in the page's META only. Every request line goes to a log.
class CharsetNginx {
 public:
  bool Start() {
    const std::string nginx = net::testing::FindProgram("nginx");
    if (nginx.empty()) return false;
    port_ = net::testing::UnusedPort();
    const std::string dir = folder_.path().string();
    folder_.Write("www/cgi-bin/wort_www", "<html><body><p>" + kGreetingUtf8 + "</p></body></html>\n");
    folder_.Write("www/cgi-bin/checkdomain.pl",
                  "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
                  "</head><body><p>" +
                      kGreetingUtf8 + "</p></body></html>\n");
    folder_.Write("tmp/.keep", "");
    const std::string logging = "  log_format requests '$request';\n  access_log " + dir +
                                "/access.log requests;\n";
    const std::string locations =
        "    location = /cgi-bin/wort_www { types {} default_type \"text/html; charset=utf-8\"; }\n"
        "    location = /cgi-bin/checkdomain.pl { types {} default_type text/html; }\n";
    folder_.Write("nginx.conf",
                  net::testing::NginxConfig(dir,
                                            logging + net::testing::NginxServer(port_, dir, locations)));
    return process_.Start({nginx, "-p", dir, "-c", dir + "/nginx.conf"}, port_);
  }
  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
  const std::string& error() const { return process_.error(); }

  // The logged request lines; nginx writes a line once it has answered, so wait for it.
  std::string RequestLog(std::size_t least_lines) const {
    using namespace std::chrono_literals;
    std::string log;
    for (int tries = 0; tries < 100; ++tries) {
      std::ifstream in(folder_.path() / "access.log", std::ios::binary);
      log.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      if (static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n')) >= least_lines) break;
      std::this_thread::sleep_for(50ms);
    }
    return log;
  }

 private:
  net::testing::ScratchFolder folder_{"tessival-charset-nginx"};
  net::testing::PeerProcess process_;
  int port_ = 0;
};

class AnswerCharsetWindowTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    if (!nginx_.Start()) GTEST_SKIP() << "nginx does not start: " << nginx_.error();
    ::setenv("TESSIVAL_SERVICE_HOST", nginx_.address().c_str(), 1);
    form_ = MakeRealClientWindow(dialogs_);
  }
  void TearDown() override {
    form_.reset();
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ScratchDirectoryTest::TearDown();
  }

  // Selects the whole page in the pane and copies it with Ctrl+C, which puts it into the
  // memo.
  std::string CopyFromPane() {
    viewer::TPageViewer* page = form_->FrameViewer1().CurrentViewer();
    if (page == nullptr) return "(no page)";
    page->SelectAll();
    QTest::keyClick(page, Qt::Key_C, Qt::ControlModifier);
    return form_->MemoText();
  }

  CharsetNginx nginx_;
  RecordingDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(AnswerCharsetWindowTest, SetNamedInTheHeaderOnly) {
  form_->SetMemoText(
      "Gr\xFC\xDF"
      "e stra\xDF"
      "e 10 \x80");
  form_->ButtonByComponent("Button6")->click();  // "Wortschatz"
  EXPECT_EQ(form_->StatusPanelText(2).rfind("Empfangen", 0), 0u) << form_->StatusPanelText(2);
  EXPECT_THAT(ReadFile("wortschatz.htm"), HasSubstr(kGreetingUtf8));  // the file as received
  EXPECT_EQ(ReadFile("wortschatz.htm.content-type"), "text/html; charset=utf-8");
  EXPECT_THAT(CopyFromPane(), HasSubstr(kGreeting1252));
  EXPECT_THAT(nginx_.RequestLog(1),
              HasSubstr(
                  "GET /cgi-bin/wort_www?site=1&Wort=Gr%C3%BC%C3%9Fe%20stra%C3%9Fe%2010%20%E2%82%AC"
                  "&sprache=de HTTP/1.0"));
  EXPECT_TRUE(dialogs_->errors.empty());
}

TEST_F(AnswerCharsetWindowTest, SetNamedInTheMetaOnly) {
  form_->SetMemoText("k\xF6ln.de");
  form_->ButtonByComponent("Button7")->click();  // "Domain"
  EXPECT_EQ(ReadFile("domain.htm.content-type"), "text/html");
  EXPECT_THAT(CopyFromPane(), HasSubstr(kGreeting1252));
  EXPECT_THAT(nginx_.RequestLog(1),
              HasSubstr("GET /cgi-bin/checkdomain.pl?domain=k%C3%B6ln.de HTTP/1.0"));
  EXPECT_TRUE(dialogs_->errors.empty());
}

}  // namespace
}  // namespace tessival::app
