#include "platform/message_loop.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>
#include <vector>

#include "platform/message_window.h"
#include "platform/unique_fd.h"

namespace tessival::platform {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;

struct Received {
  std::uint64_t window;
  UINT message;
  WPARAM wparam;
};

class RecordingWindow : public MessageWindow {
 public:
  RecordingWindow(MessageLoop& loop, std::vector<Received>& log)
      : MessageWindow(loop, [this, &log](UINT m, WPARAM w, LPARAM) {
          log.push_back({handle(), m, w});
          return 0;
        }) {}
};

std::vector<UINT> Messages(const std::vector<Received>& log) {
  std::vector<UINT> out;
  for (const auto& r : log) out.push_back(r.message);
  return out;
}

TEST(MessageLoop, DispatchesInPostedOrderAcrossWindows) {
  MessageLoop loop;
  std::vector<Received> log;
  RecordingWindow a(loop, log), b(loop, log);
  a.PostMessage(WM_USER + 1);
  b.PostMessage(WM_USER + 2);
  a.PostMessage(WM_USER + 3);
  EXPECT_TRUE(loop.ProcessMessages());
  EXPECT_THAT(Messages(log), ElementsAre(WM_USER + 1, WM_USER + 2, WM_USER + 3));
  EXPECT_EQ(log[1].window, b.handle());
  EXPECT_FALSE(loop.ProcessMessages());
}

TEST(MessageLoop, DestroyedWindowGetsNoneOfItsQueuedMessages) {
  MessageLoop loop;
  std::vector<Received> log;
  RecordingWindow keep(loop, log);
  auto gone = std::make_unique<RecordingWindow>(loop, log);
  gone->PostMessage(WM_USER + 1);
  keep.PostMessage(WM_USER + 2);
  gone.reset();
  loop.ProcessMessages();
  EXPECT_THAT(Messages(log), ElementsAre(WM_USER + 2));
}

TEST(MessageLoop, WindowDestroyedByAnEarlierMessageIsSkipped) {
  MessageLoop loop;
  std::vector<Received> log;
  auto victim = std::make_unique<RecordingWindow>(loop, log);
  MessageWindow killer(loop, [&](UINT, WPARAM, LPARAM) {
    victim.reset();
    return 0;
  });
  killer.PostMessage(WM_USER);
  victim->PostMessage(WM_USER + 1);
  loop.ProcessMessages();
  EXPECT_TRUE(log.empty());
}

TEST(MessageLoop, MessagesPostedWhileDispatchingWaitForTheNextRound) {
  MessageLoop loop;
  int count = 0;
  MessageWindow window(loop, [&](UINT, WPARAM, LPARAM) {
    ++count;
    return 0;
  });
  MessageWindow reposter(loop, [&](UINT m, WPARAM, LPARAM) {
    reposter.PostMessage(m);  // a handler that keeps posting cannot starve the caller
    window.PostMessage(m);
    return 0;
  });
  reposter.PostMessage(WM_USER);
  EXPECT_TRUE(loop.ProcessMessages());
  EXPECT_EQ(count, 0);
  EXPECT_EQ(loop.PendingMessageCount(), 2u);
}

TEST(MessageLoop, ReentrantPumpingKeepsOrderAndDeliversEachMessageOnce) {
  MessageLoop loop;
  std::vector<UINT> order;
  MessageWindow window(loop, [&](UINT m, WPARAM, LPARAM) {
    order.push_back(m);
    if (m == WM_USER + 1) {
      // A handler that pumps, as a blocking request does while it waits.
      while (loop.ProcessMessages()) {
      }
      order.push_back(0);
    }
    return 0;
  });
  for (UINT i = 1; i <= 4; ++i) window.PostMessage(WM_USER + i);
  loop.ProcessMessages();
  EXPECT_THAT(order, ElementsAre(WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_USER + 4, 0u));
}

TEST(MessageLoop, TimerTicksRepeatAndStopWhenKilled) {
  MessageLoop loop;
  std::vector<Received> log;
  RecordingWindow window(loop, log);
  // The first tick is due 5 ms after SetTimer, so the clock starts before it.
  const auto start = MessageLoop::Clock::now();
  window.SetTimer(7, 5ms);
  while (log.size() < 3) loop.RunOnce();
  EXPECT_GE(MessageLoop::Clock::now() - start, 15ms);
  for (const auto& r : log) {
    EXPECT_EQ(r.message, WM_TIMER);
    EXPECT_EQ(r.wparam, 7u);
  }
  EXPECT_TRUE(window.KillTimer(7));
  EXPECT_FALSE(window.KillTimer(7));
  std::this_thread::sleep_for(15ms);
  loop.ProcessMessages();
  EXPECT_EQ(log.size(), 3u);
}

TEST(MessageLoop, LateTimerTicksCoalesceIntoOneMessage) {
  MessageLoop loop;
  std::vector<Received> log;
  RecordingWindow window(loop, log);
  window.SetTimer(1, 1ms);
  std::this_thread::sleep_for(20ms);
  loop.ProcessMessages();
  loop.ProcessMessages();
  EXPECT_EQ(log.size(), 1u);
}

TEST(MessageLoop, KilledTimersQueuedTickIsDropped) {
  MessageLoop loop;
  std::vector<Received> log;
  RecordingWindow window(loop, log);
  MessageWindow killer(loop, [&](UINT, WPARAM, LPARAM) {
    window.KillTimer(1);
    return 0;
  });
  window.SetTimer(1, 1ms);
  std::this_thread::sleep_for(5ms);
  killer.PostMessage(WM_USER);  // queued before the tick, which the next round adds
  loop.ProcessMessages();
  EXPECT_TRUE(log.empty());
}

TEST(MessageLoop, WaitForEventSleepsUntilTheTimerIsDue) {
  MessageLoop loop;
  std::vector<Received> log;
  RecordingWindow window(loop, log);
  const auto start = MessageLoop::Clock::now();
  window.SetTimer(1, 30ms);
  loop.WaitForEvent(1000ms);
  const auto waited = MessageLoop::Clock::now() - start;
  EXPECT_GE(waited, 25ms);
  EXPECT_LT(waited, 900ms);
  loop.ProcessMessages();
  EXPECT_EQ(log.size(), 1u);
}

TEST(MessageLoop, WaitForEventReturnsAtOnceWhenMessagesArePending) {
  MessageLoop loop;
  MessageWindow window(loop, [](UINT, WPARAM, LPARAM) { return 0; });
  window.PostMessage(WM_USER);
  const auto start = MessageLoop::Clock::now();
  loop.WaitForEvent(1000ms);
  EXPECT_LT(MessageLoop::Clock::now() - start, 500ms);
}

TEST(MessageLoop, FdReadinessIsReportedUntilConsumedOrUnwatched) {
  MessageLoop loop;
  int pair[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, pair), 0);
  UniqueFd left(pair[0]), right(pair[1]);
  int calls = 0;
  loop.WatchFd(left.get(), kFdReadable, [&](std::uint32_t events) {
    EXPECT_TRUE(events & kFdReadable);
    ++calls;
  });
  loop.ProcessMessages();
  EXPECT_EQ(calls, 0);

  ASSERT_EQ(::write(right.get(), "x", 1), 1);
  loop.WaitForEvent(1000ms);
  loop.ProcessMessages();
  loop.ProcessMessages();
  EXPECT_EQ(calls, 2);  // level-triggered: still unread

  char byte;
  ASSERT_EQ(::read(left.get(), &byte, 1), 1);
  loop.ProcessMessages();
  EXPECT_EQ(calls, 2);

  ASSERT_EQ(::write(right.get(), "y", 1), 1);
  loop.UnwatchFd(left.get());
  loop.ProcessMessages();
  EXPECT_EQ(calls, 2);
}

TEST(MessageLoop, FdWatchMaskCanBeNarrowed) {
  MessageLoop loop;
  int pair[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, pair), 0);
  UniqueFd left(pair[0]), right(pair[1]);
  std::vector<std::uint32_t> seen;
  loop.WatchFd(left.get(), kFdWritable, [&](std::uint32_t events) {
    seen.push_back(events);
    loop.ModifyFd(left.get(), 0);  // like a socket that waits for its next send
  });
  loop.ProcessMessages();
  loop.ProcessMessages();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0] & kFdWritable);
}

TEST(MessageLoop, LoopDescriptorBecomesReadableWhenAMessageIsPosted) {
  MessageLoop loop;
  MessageWindow window(loop, [](UINT, WPARAM, LPARAM) { return 0; });
  MessageLoop outer;
  bool ready = false;
  outer.WatchFd(loop.fd(), kFdReadable, [&](std::uint32_t) { ready = true; });
  outer.ProcessMessages();
  EXPECT_FALSE(ready);
  window.PostMessage(WM_USER);
  outer.ProcessMessages();
  EXPECT_TRUE(ready);
}

TEST(MessageLoop, RunEndsWhenAHandlerQuits) {
  MessageLoop loop;
  int ticks = 0;
  MessageWindow window(loop, [&](UINT m, WPARAM, LPARAM) {
    if (m == WM_TIMER && ++ticks == 2) loop.Quit();
    return 0;
  });
  window.SetTimer(1, 2ms);
  loop.Run();
  EXPECT_EQ(ticks, 2);
}

TEST(MessageLoop, SendMessageCallsTheProcedureAtOnce) {
  MessageLoop loop;
  MessageWindow window(loop, [](UINT m, WPARAM w, LPARAM l) { return LRESULT(m + w + l); });
  EXPECT_EQ(window.SendMessage(WM_USER, 2, 3), LRESULT(WM_USER + 5));
  EXPECT_EQ(loop.PendingMessageCount(), 0u);
}

}  // namespace
}  // namespace tessival::platform
