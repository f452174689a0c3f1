#include "app/task_bar_icon.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QPixmap>

#include "fake_tray_area.h"
#include "tests/widgets/qt_app_fixture.h"

namespace tessival::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

QIcon SomeIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::darkBlue);
  return QIcon(pixmap);
}

class TaskBarIconTest : public ::testing::Test {
 protected:
  QApplication& application_ = testing::EnsureQtApplication();
  std::vector<std::string> calls_;
  FakeTrayArea* area_ = new FakeTrayArea(calls_);  // owned by icon_
  TTaskBarIcon icon_{std::unique_ptr<TrayArea>(area_)};
};

TEST_F(TaskBarIconTest, WithoutAnIconItStaysInvisible) {
  icon_.SetVisible(true);
  EXPECT_FALSE(icon_.Visible());
  EXPECT_THAT(calls_, IsEmpty());
}

TEST(TaskBarIcon, FailedAddLeavesItInvisibleWithoutAnError) {
  testing::EnsureQtApplication();
  std::vector<std::string> calls;
  TTaskBarIcon icon{std::make_unique<FakeTrayArea>(calls, /*accepts=*/false)};
  icon.SetIcon(SomeIcon());
  icon.SetVisible(true);
  EXPECT_FALSE(icon.Visible());
  EXPECT_THAT(calls, ElementsAre("add "));
}

TEST(TaskBarIcon, DesktopWithoutNotificationAreaTakesNoIcon) {
  testing::EnsureQtApplication();  // the offscreen platform has no tray
  TTaskBarIcon icon;
  icon.SetIcon(SomeIcon());
  icon.SetVisible(true);
  EXPECT_FALSE(icon.Visible());
}

TEST_F(TaskBarIconTest, VisibleIconFollowsChangesAndGoesWithItsOwner) {
  icon_.SetTip("before");
  icon_.SetIcon(SomeIcon());
  EXPECT_THAT(calls_, IsEmpty());  // nothing shown yet, nothing to update
  icon_.SetVisible(true);
  EXPECT_TRUE(icon_.Visible());
  icon_.SetVisible(true);
  icon_.SetTip("after");
  icon_.SetIcon(SomeIcon());
  icon_.SetVisible(false);
  icon_.SetVisible(true);
  EXPECT_THAT(calls_, ElementsAre("add before", "modify after", "modify after", "remove", "add after"));
  std::vector<std::string> calls;
  {
    TTaskBarIcon icon{std::make_unique<FakeTrayArea>(calls)};
    icon.SetIcon(SomeIcon());
    icon.SetVisible(true);
  }
  EXPECT_THAT(calls, ElementsAre("add ", "remove"));
}

TEST_F(TaskBarIconTest, TipIsCutAt63CharactersAndAtAZero) {
  icon_.SetTip(QString(70, 'x'));
  EXPECT_EQ(icon_.Tip(), QString(63, 'x'));
  icon_.SetTip(QString(62, 'x') + QString::fromUtf8("\U0001F600"));  // no half a character
  EXPECT_EQ(icon_.Tip(), QString(62, 'x'));
  icon_.SetTip(QString("ab") + QChar(0) + "cd");
  EXPECT_EQ(icon_.Tip(), "ab");
}

TEST_F(TaskBarIconTest, MouseMessagesBecomeEventsWithTheirButtonAndNoShift) {
  std::vector<std::string> seen;
  const auto record = [&seen](const char* name) {
    return [&seen, name](TTaskBarIcon&, TMouseButton button, TShiftState shift, int, int) {
      seen.push_back(std::string(name) + " " + "LRM"[button] + (shift == 0 ? "" : " shift"));
    };
  };
  icon_.OnDown = record("down");
  icon_.OnUp = record("up");
  icon_.OnDblClick = record("dbl");
  icon_.OnMouseMove = [&seen](TTaskBarIcon&, TShiftState, int, int) { seen.push_back("move"); };
  for (platform::UINT message = WM_MOUSEMOVE; message <= WM_MBUTTONDBLCLK; ++message)
    area_->Mouse(message);
  EXPECT_THAT(seen, ElementsAre("move", "down L", "up L", "dbl L", "down R", "up R", "dbl R", "down M",
                                "up M", "dbl M"));
  // Other values and other messages are not the icon's.
  EXPECT_FALSE(icon_.HandleMessage(TTaskBarIcon::kCallbackMessage, 0, 0x020A));
  EXPECT_FALSE(icon_.HandleMessage(TTaskBarIcon::kCallbackMessage + 1, 0, WM_LBUTTONDOWN));
  EXPECT_EQ(seen.size(), 10u);
  // Unassigned events are skipped.
  icon_.OnDown = nullptr;
  EXPECT_TRUE(icon_.HandleMessage(TTaskBarIcon::kCallbackMessage, 0, WM_LBUTTONDOWN));
}

}  // namespace
}  // namespace tessival::app
