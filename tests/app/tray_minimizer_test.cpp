#include "app/tray_minimizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPixmap>
#include <QWidget>

#include "app/icon_hide.h"
#include "app/task_bar_icon.h"
#include "fake_tray_area.h"
#include "tests/widgets/qt_app_fixture.h"

namespace tessival::app {
namespace {

// A desktop that can leave windows out of its taskbar, and says what it was asked.
class SkipState : public TaskbarSkipState {
 public:
  explicit SkipState(int& requests) : requests_(requests) {}
  bool Supported() const override { return true; }
  void SetWhileHidden(QWidget&, bool) override { ++requests_; }
  void RequestWhileShown(QWidget&, bool) override {}

 private:
  int& requests_;
};

class TrayMinimizerTest : public ::testing::Test {
 protected:
  TrayMinimizerTest() {
    TIconHide(nullptr).SetHidden(false);
    window_.show();
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::red);
    tray_.SetIcon(QIcon(pixmap));
  }
  ~TrayMinimizerTest() override { hider_.SetHidden(false); }

  QApplication& application_ = testing::EnsureQtApplication();
  QWidget window_;
  int skip_requests_ = 0;
  TIconHide hider_{&window_, std::make_unique<SkipState>(skip_requests_)};
  std::vector<std::string> tray_calls_;
  TTaskBarIcon tray_{std::make_unique<FakeTrayArea>(tray_calls_)};
};

TEST_F(TrayMinimizerTest, MinimisingMovesTheWindowToTheTrayAndDoubleClickBringsItBack) {
  MinimizeToTray(window_, tray_, hider_);
  EXPECT_TRUE(tray_.Visible());
  EXPECT_TRUE(hider_.Hidden());
  EXPECT_TRUE(window_.isMinimized());
  RestoreFromTray(window_, hider_);
  EXPECT_FALSE(window_.isMinimized());
  EXPECT_TRUE(window_.isVisible());
  EXPECT_FALSE(hider_.Hidden());
  EXPECT_TRUE(tray_.Visible());  // the icon stays in the tray
  EXPECT_EQ(skip_requests_, 2);
}

TEST_F(TrayMinimizerTest, WindowMinimisedByTheWindowManagerStaysMinimised) {
  window_.setWindowState(Qt::WindowMinimized);  // the title bar button came first
  MinimizeToTray(window_, tray_, hider_);
  EXPECT_TRUE(hider_.Hidden());
  EXPECT_TRUE(window_.isMinimized());
}

TEST_F(TrayMinimizerTest, MinimisingKeepsTheTaskbarButtonSoTheWindowCanComeBack) {
  std::vector<std::string> calls;
  TTaskBarIcon tray{std::make_unique<FakeTrayArea>(calls, /*accepts=*/false)};
  tray.SetIcon(tray_.Icon());
  MinimizeToTray(window_, tray, hider_);
  EXPECT_FALSE(tray.Visible());
  EXPECT_FALSE(hider_.Hidden());
  EXPECT_EQ(skip_requests_, 0);
  EXPECT_TRUE(window_.isMinimized());
}

}  // namespace
}  // namespace tessival::app
