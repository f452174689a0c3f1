#include "platform/qt/qt_loop_driver.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <optional>

#include "platform/message_window.h"

namespace tessival::platform {
namespace {

using namespace std::chrono_literals;

TEST(QtLoopDriver, QtEventLoopDispatchesPostedMessagesAndTimers) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  std::optional<QCoreApplication> own;  // the suite may already run a GUI application
  if (!QCoreApplication::instance()) own.emplace(argc, argv);
  QCoreApplication& app = *QCoreApplication::instance();
  MessageLoop loop;
  QtLoopDriver driver(loop);
  int posted = 0, ticks = 0;
  MessageWindow window(loop, [&](UINT m, WPARAM, LPARAM) {
    if (m == WM_USER) ++posted;
    if (m == WM_TIMER && ++ticks == 3) QCoreApplication::quit();
    return 0;
  });
  window.PostMessage(WM_USER);
  window.SetTimer(1, 5ms);
  QTimer::singleShot(5000, &app, [] { QCoreApplication::exit(1); });
  EXPECT_EQ(app.exec(), 0);
  EXPECT_EQ(posted, 1);
  EXPECT_EQ(ticks, 3);
}

TEST(QtLoopDriver, BlockingWaitRunsQtEventsWhileItWaits) {
  int argc = 1;
  char name[] = "test";
  char* argv[] = {name, nullptr};
  std::optional<QCoreApplication> own;  // the suite may already run a GUI application
  if (!QCoreApplication::instance()) own.emplace(argc, argv);
  QCoreApplication& app = *QCoreApplication::instance();
  MessageLoop loop;
  QtLoopDriver driver(loop);
  bool qt_event_ran = false, done = false;
  QTimer::singleShot(10, &app, [&] { qt_event_ran = true; });
  MessageWindow window(loop, [&](UINT, WPARAM, LPARAM) {
    done = true;
    return 0;
  });
  window.SetTimer(1, 40ms);
  while (!done) loop.RunOnce();  // as a synchronous request waits
  EXPECT_TRUE(qt_event_ran);
}

}  // namespace
}  // namespace tessival::platform
