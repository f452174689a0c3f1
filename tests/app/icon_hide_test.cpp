#include "app/icon_hide.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QEvent>

#include "tests/widgets/qt_app_fixture.h"

namespace tessival::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records the skip-taskbar requests and the window's hide and show events in one log.
class Recorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Hide) log.push_back("hide");
    if (event->type() == QEvent::Show) log.push_back("show");
    return false;
  }
  std::vector<std::string> log;
};

class FakeSkipState : public TaskbarSkipState {
 public:
  FakeSkipState(std::vector<std::string>& log, bool supported) : log_(log), supported_(supported) {}
  bool Supported() const override { return supported_; }
  void SetWhileHidden(QWidget& window, bool skip) override {
    log_.push_back(std::string(window.isVisible() ? "visible" : "hidden") + " set " +
                   (skip ? "skip" : "keep"));
  }
  void RequestWhileShown(QWidget& window, bool skip) override {
    log_.push_back(std::string(window.isVisible() ? "visible" : "hidden") + " ask " +
                   (skip ? "skip" : "keep"));
  }

 private:
  std::vector<std::string>& log_;
  bool supported_;
};

class IconHideTest : public ::testing::Test {
 protected:
  IconHideTest() {
    TIconHide(nullptr).SetHidden(false);  // the state is the program's: start from shown
    window_.show();
    window_.installEventFilter(&recorder_);
  }
  TIconHide Hider(bool supported = true) {
    return TIconHide(&window_, std::make_unique<FakeSkipState>(recorder_.log, supported));
  }

  QApplication& application_ = testing::EnsureQtApplication();
  QWidget window_;
  Recorder recorder_;
};

TEST_F(IconHideTest, HidingTwiceChangesTheWindowOnce) {
  TIconHide hider = Hider();
  hider.SetHidden(true);
  hider.SetHidden(true);
  EXPECT_TRUE(hider.Hidden());
  EXPECT_THAT(recorder_.log, ElementsAre("hide", "hidden set skip", "show", "visible ask skip"));
  recorder_.log.clear();
  hider.SetHidden(false);
  EXPECT_THAT(recorder_.log, ElementsAre("hide", "hidden set keep", "show", "visible ask keep"));
}

TEST_F(IconHideTest, WindowNotShownYetGetsTheStateButStaysHidden) {
  window_.hide();
  recorder_.log.clear();
  TIconHide hider = Hider();
  hider.SetHidden(true);
  EXPECT_THAT(recorder_.log, ElementsAre("hidden set skip"));
  EXPECT_FALSE(window_.isVisible());
}

TEST_F(IconHideTest, TheStateIsSharedByTheWholeProgram) {
  TIconHide first = Hider();
  first.SetHidden(true);
  TIconHide second = Hider();
  EXPECT_TRUE(second.Hidden());
  recorder_.log.clear();
  second.SetHidden(true);
  EXPECT_THAT(recorder_.log, IsEmpty());
  second.SetHidden(false);
  EXPECT_FALSE(first.Hidden());
}

TEST_F(IconHideTest, DesktopWithoutTheStateLeavesTheWindowAlone) {
  TIconHide hider = Hider(/*supported=*/false);
  hider.SetHidden(true);
  EXPECT_TRUE(hider.Hidden());
  EXPECT_THAT(recorder_.log, IsEmpty());
  EXPECT_TRUE(window_.isVisible());
  hider.SetHidden(false);
}

}  // namespace
}  // namespace tessival::app
