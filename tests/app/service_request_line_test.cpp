// A memo of two lines, sent by a real service button through the program's own HTTP
// client, must reach the server as one request line: the copied line break is escaped on
// the wire, while "url.txt" keeps the address as the query encoding made it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPushButton>

#include "app/main_window.h"
#include "real_client_window.h"
#include "loopback_peer.h"
#include "scratch_directory.h"

namespace tessival::app {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class ServiceRequestLineTest : public ScratchDirectoryTest {
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

  RecordingDialogs* dialogs_ = nullptr;
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
