// A memo of two lines, sent by a real service button through the program's own HTTP
// client, must reach the server as one request line: the copied line break is escaped on
// the wire, while "url.txt" keeps the address as the query encoding made it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPushButton>

#include "app/http_cli_fetcher.h"
#include "app/main_window.h"
#include "app/plain_text_page_view.h"
#include "app/user_dialogs.h"
#include "loopback_peer.h"
#include "scratch_directory.h"
#include "tests/widgets/qt_app_fixture.h"

namespace tessival::app {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class QuietDialogs : public UserDialogs {
 public:
  bool Confirm(const std::string&) override { return false; }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void Beep() override {}
  std::vector<std::string> errors;
};

class ServiceRequestLineTest : public ScratchDirectoryTest {
 protected:
  void SetUp() override {
    ScratchDirectoryTest::SetUp();
    tessival::testing::EnsureQtApplication();
    MainWindowServices services;
    auto http = std::make_unique<HttpCliFetcher>();
    http->Client().Timeout = 10s;
    services.http = std::move(http);
    services.make_viewer = [](QWidget* parent) { return std::make_unique<PlainTextPageView>(parent); };
    auto dialogs = std::make_unique<QuietDialogs>();
    dialogs_ = dialogs.get();
    services.dialogs = std::move(dialogs);
    services.launch = [](const std::vector<std::string>&) { return true; };
    services.find_browser = [] { return std::optional<std::string>(); };
    services.terminate_application = [] {};
    form_ = std::make_unique<TForm1>(std::move(services));
  }
  void TearDown() override {
    form_.reset();
    ::unsetenv("TESSIVAL_SERVICE_HOST");
    ScratchDirectoryTest::TearDown();
  }

  QuietDialogs* dialogs_ = nullptr;
  std::unique_ptr<TForm1> form_;
};

TEST_F(ServiceRequestLineTest, TwoLineMemoReachesTheServerAsOneRequestLine) {
  std::string request;
  net::testing::ScriptedServer server([&](int fd) {
    request = net::testing::ReadRequest(fd);
    net::testing::WriteAll(fd, "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<html>Haus</html>");
  });
  ::setenv("TESSIVAL_SERVICE_HOST", server.address().c_str(), 1);
  form_->SetMemoText("Haus\r\nX-Injected: yes");
  form_->ButtonByComponent("Button1")->click();  // a dictionary row without a pre-pass
  server.Join();

  const std::size_t first_end = request.find("\r\n");
  ASSERT_NE(first_end, std::string::npos);
  const std::string request_line = request.substr(0, first_end);
  EXPECT_THAT(request_line, StartsWith("GET /?lp=ende&"));
  EXPECT_THAT(request_line, HasSubstr("&search=Haus%0D%0AX-Injected"));
  EXPECT_THAT(request_line, Not(HasSubstr(" yes")));
  EXPECT_EQ(request.substr(first_end),
            "\r\nAccept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible)\r\n"
            "Host: 127.0.0.1\r\n\r\n");
  EXPECT_EQ(ReadFile("translate.htm"), "<html>Haus</html>");
  EXPECT_THAT(ReadFile("url.txt"), HasSubstr("&search=Haus\r\nX-Injected"));
  EXPECT_TRUE(dialogs_->errors.empty());
}

}  // namespace
}  // namespace tessival::app
