#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "loopback_peer.h"
#include "net/line_buffer.h"
#include "net/wsocket.h"
#include "platform/message_loop.h"

namespace tessival::net {
namespace {

using ::testing::ElementsAre;
using testing::ReadExactly;
using testing::ReadUntilClosed;
using testing::RunUntil;
using testing::ScriptedServer;
using testing::WriteAll;

// Every line found while feeding the text in two pieces split at each position.
TEST(LineBuffer, FindsLineEndsSplitAcrossReceptions) {
  const std::string text = "ab\r\ncd\r\n\r\nx";
  for (std::size_t split = 0; split <= text.size(); ++split) {
    LineBuffer buffer;
    std::vector<std::string> lines;
    for (const std::string& piece : {text.substr(0, split), text.substr(split)}) {
      std::size_t from = buffer.Append(piece, 2);
      while (const auto found = buffer.Find("\r\n", from)) {
        std::string line(*found + 2, '\0');
        buffer.Take(line.data(), line.size());
        lines.push_back(line);
        from = 0;
      }
    }
    EXPECT_THAT(lines, ElementsAre("ab\r\n", "cd\r\n", "\r\n")) << "split at " << split;
    EXPECT_EQ(buffer.view(), "x");
  }
}

TEST(LineBuffer, EditingHandlesBackspaceAcrossReceptionsAndTabs) {
  LineBuffer buffer;
  std::string echo;
  buffer.AppendEdited("abc", 2, &echo);
  buffer.AppendEdited("\b\bd\tz", 2, &echo);
  EXPECT_EQ(buffer.view(), "ad      z");
  EXPECT_EQ(echo, "abc\b \b\b \bd      z");
  buffer.Clear();
  echo.clear();
  buffer.AppendEdited("\bq", 2, &echo);  // nothing to remove: no echo for it
  EXPECT_EQ(buffer.view(), "q");
  EXPECT_EQ(echo, "q");
}

class LineModeTest : public ::testing::Test {
 protected:
  // A line-mode socket connected to the script; lines collects what the handler read.
  void Connect(ScriptedServer& server) {
    socket.SetLineMode(true);
    socket.SetAddr("127.0.0.1");
    socket.SetPort(server.port_text());
    socket.OnSessionClosed = [this](TCustomWSocket&, Word) { closed = true; };
    socket.Connect();
  }
  void ReadLines() {
    socket.OnDataAvailable = [this](TCustomWSocket& s, Word) {
      counts.push_back(s.RcvdCount());
      lines.push_back(s.ReceiveText());
    };
  }
  platform::MessageLoop loop;
  TWSocket socket{loop};
  std::vector<std::string> lines;
  std::vector<int> counts;
  bool closed = false;
};

TEST_F(LineModeTest, DeliversCompleteLinesAndKeepsTheRestBuffered) {
  ScriptedServer server([](int fd) {
    WriteAll(fd, "ab\r\nc");
    ::usleep(20000);
    WriteAll(fd, "d\r");
    ::usleep(20000);
    WriteAll(fd, "\nlast");
  });
  ReadLines();
  Connect(server);
  ASSERT_TRUE(RunUntil(loop, [&] { return closed; }));
  EXPECT_THAT(lines, ElementsAre("ab\r\n", "cd\r\n", "last"));
  EXPECT_THAT(counts, ElementsAre(4, 4, 4));
}

TEST_F(LineModeTest, EditsAndEchoesInteractiveInput) {
  std::string echoed;
  ScriptedServer server([&](int fd) {
    WriteAll(fd, "abc\bd\r\n");
    echoed = ReadExactly(fd, 9);
  });
  socket.SetLineEdit(true);
  socket.SetLineEcho(true);
  ReadLines();
  Connect(server);
  ASSERT_TRUE(RunUntil(loop, [&] { return !lines.empty(); }));
  server.Join();
  EXPECT_THAT(lines, ElementsAre("abd\r\n"));
  EXPECT_EQ(echoed, "abc\b \bd\r\n");
}

TEST_F(LineModeTest, OverlongLineFiresLimitAndIsCleared) {
  ScriptedServer server([](int fd) {
    WriteAll(fd, std::string(70000, 'x'));
    ::usleep(20000);
    WriteAll(fd, "ok\r\n");
  });
  std::vector<int> exceeded;
  socket.OnLineLimitExceeded = [&](TCustomWSocket&, int length, bool&) { exceeded.push_back(length); };
  ReadLines();
  Connect(server);
  ASSERT_TRUE(RunUntil(loop, [&] { return closed; }));
  ASSERT_FALSE(exceeded.empty());
  EXPECT_GT(exceeded.front(), 65536);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().size() < 70000u, true);
  EXPECT_EQ(lines.back().substr(lines.back().size() - 4), "ok\r\n");
}

// The limit holds at its exact value: LineLimit bytes still wait for their line end, one
// byte more is reported.
TEST_F(LineModeTest, LineLimitHoldsAtItsExactValue) {
  ScriptedServer server([](int fd) {
    WriteAll(fd, std::string(10, 'x'));
    ::usleep(20000);
    WriteAll(fd, "y");
    ::usleep(20000);
    WriteAll(fd, "\r\n");
  });
  socket.SetLineLimit(10);
  std::vector<int> exceeded;
  socket.OnLineLimitExceeded = [&](TCustomWSocket&, int length, bool&) { exceeded.push_back(length); };
  ReadLines();
  Connect(server);
  ASSERT_TRUE(RunUntil(loop, [&] { return closed; }));
  ASSERT_FALSE(exceeded.empty());
  EXPECT_EQ(exceeded.front(), 11);
}

TEST_F(LineModeTest, FinalLineWithoutHandlerIsDroppedAndTheCloseStillComes) {
  ScriptedServer server([](int fd) { WriteAll(fd, "no line end"); });
  Connect(server);
  ASSERT_TRUE(RunUntil(loop, [&] { return closed; }));
}

TEST_F(LineModeTest, HandlerThatLeavesLineModeGetsTheRestRaw) {
  ScriptedServer server([](int fd) {
    WriteAll(fd, "header\r\nbody without line ends");
    ReadUntilClosed(fd);
  });
  std::string raw;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) {
    if (socket.LineMode()) {
      lines.push_back(s.ReceiveText());
      socket.SetLineMode(false);
      return;
    }
    char buffer[8];
    const int n = s.Receive(buffer, sizeof buffer);
    if (n > 0) raw.append(buffer, static_cast<std::size_t>(n));
  };
  Connect(server);
  ASSERT_TRUE(RunUntil(loop, [&] { return raw == "body without line ends"; }));
  EXPECT_THAT(lines, ElementsAre("header\r\n"));
}

TEST_F(LineModeTest, RedeliveryEndsWhenNoLineIsComplete) {
  ScriptedServer server([](int fd) {
    WriteAll(fd, "partial");
    ReadUntilClosed(fd);
  });
  ReadLines();
  Connect(server);
  ASSERT_TRUE(RunUntil(loop, [&] { return socket.State() == wsConnected; }));
  // Let the partial line arrive, then toggle line mode: the message 1044 handler runs
  // and must come back although no line is complete and nothing new arrives.
  ASSERT_TRUE(RunUntil(loop, [&] {
    loop.ProcessMessages();
    return socket.ReadCount() == 7;
  }));
  socket.SetLineMode(false);
  socket.OnDataAvailable = nullptr;
  socket.SetLineMode(true);
  loop.ProcessMessages();
  loop.ProcessMessages();
  EXPECT_TRUE(lines.empty());
  socket.Close();
}

// Counts how often the socket had to wait for an event.
class CountingSocket : public TWSocket {
 public:
  using TWSocket::TWSocket;
  int wakeups = 0;

 protected:
  void WaitForNextEvent() override {
    ++wakeups;
    TWSocket::WaitForNextEvent();
  }
};

TEST(SyncWait, WaitsForTheFlagThenForTheTimeoutWithoutSpinning) {
  platform::MessageLoop loop;
  ScriptedServer server([](int fd) {
    WriteAll(fd, "ping");
    ReadUntilClosed(fd);
  });
  CountingSocket socket(loop);
  bool got_data = false;
  socket.OnDataAvailable = [&](TCustomWSocket& s, Word) {
    s.ReceiveText();
    got_data = true;
  };
  socket.SetAddr("127.0.0.1");
  socket.SetPort(server.port_text());
  EXPECT_EQ(socket.Synchronise([&] { socket.Connect(); }, got_data), 0);
  EXPECT_TRUE(got_data);

  // An idle connection: the wait sleeps until its time-out instead of polling.
  bool never = false;
  socket.wakeups = 0;
  socket.SetWaitTimeout(300);
  EXPECT_EQ(socket.Wait(never), kWaitTimedOut);
  EXPECT_LE(socket.wakeups, 3);
  socket.Close();
}

TEST(SyncWait, QuitMessageEndsTheWait) {
  platform::MessageLoop loop;
  TWSocket socket(loop);
  bool never = false;
  socket.Window().PostMessage(platform::WM_QUIT);
  EXPECT_EQ(socket.Wait(never), kWaitTimedOut);
}

}  // namespace
}  // namespace tessival::net
