#include "widgets/splitter_wnd.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QMouseEvent>
#include <QStyle>
#include <memory>

#include "qt_app_fixture.h"
#include "widgets/inverting_overlay.h"
#include "widgets/pane.h"

namespace tessival::widgets {
namespace {

using ::testing::ElementsAre;

class SplitterWndTest : public ::testing::Test {
 protected:
  // The main window's arrangement: two panes above each other in 439 rows.
  void MakeTwoHorizontalPanes(int width = 300, int height = 439) {
    splitter_.SetOrientation(swHorizontal);
    splitter_.resize(width, height);
    host_.show();
    first_ = new TPane;
    first_->SetPaneSize(220);
    first_->SetSplitterWnd(&splitter_);
    second_ = new TPane;
    second_->SetPaneSize(219);
    second_->SetSplitterWnd(&splitter_);
  }

  void Mouse(QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                                     : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, at, splitter_.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&splitter_, &event);
  }

  std::vector<int> Sizes() const {
    std::vector<int> sizes;
    for (int i = 0; i < splitter_.PaneCount(); ++i) sizes.push_back(splitter_.Pane(i)->PaneSize());
    return sizes;
  }

  int ScrollBarMinimum() const {
    return 2 * splitter_.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &splitter_);
  }

  QApplication& application_ = testing::EnsureQtApplication();  // before any widget
  // A child window, so that resizing it reaches it at once, as in the main window.
  QWidget host_;
  TSplitterWnd& splitter_ = *new TSplitterWnd(&host_);
  TPane* first_ = nullptr;  // owned by the splitter as its child windows
  TPane* second_ = nullptr;
};

TEST_F(SplitterWndTest, StartsWithItsDefaults) {
  EXPECT_EQ(splitter_.Orientation(), swVertical);
  EXPECT_EQ(splitter_.Thickness(), 3);
  EXPECT_EQ(splitter_.CursorHorz(), Qt::SplitVCursor);
  EXPECT_EQ(splitter_.CursorVert(), Qt::SplitHCursor);
  EXPECT_EQ(splitter_.cursor().shape(), Qt::SplitHCursor);
  EXPECT_TRUE(splitter_.ProportionalResize());
  EXPECT_EQ(splitter_.BarStyle(), sbCheckered);
  EXPECT_TRUE(splitter_.AllowSizing());
  EXPECT_EQ(splitter_.size(), QSize(400, 200));
  EXPECT_EQ(splitter_.frameShape(), QFrame::NoFrame);
  EXPECT_EQ(splitter_.DragBar(), -1);
  TPane pane;
  EXPECT_EQ(pane.PaneIndex(), -1);
  EXPECT_EQ(pane.PaneSize(), 0);
  EXPECT_EQ(pane.MinPaneSize(), 0);
  EXPECT_TRUE(pane.EraseBkgnd());
}

TEST_F(SplitterWndTest, MainWindowPanesAt70LeaveA69PixelStripAboveTheBar) {
  MakeTwoHorizontalPanes();
  EXPECT_THAT(Sizes(), ElementsAre(220, 219));
  first_->SetPaneSize(70);
  EXPECT_THAT(Sizes(), ElementsAre(70, 369));
  EXPECT_EQ(first_->geometry(), QRect(0, 0, 300, 69));
  EXPECT_EQ(second_->geometry(), QRect(0, 72, 300, 367));
  EXPECT_EQ(splitter_.BarRect(0), QRect(0, 69, 300, 4));
  EXPECT_EQ(splitter_.cursor().shape(), Qt::SplitVCursor);
}

TEST_F(SplitterWndTest, AddedPanesGetASizeAnIndexAndTheLastKeepsItsSize) {
  host_.show();
  auto* a = new TPane;
  a->SetSplitterWnd(&splitter_);
  EXPECT_EQ(a->PaneSize(), 400);  // a lone pane fills the width
  auto* b = new TPane;
  b->SetSplitterWnd(&splitter_);
  EXPECT_EQ(b->PaneIndex(), 1);
  EXPECT_EQ(b->parentWidget(), &splitter_);
  EXPECT_THAT(Sizes(), ElementsAre(325, 75));  // a vertical newcomer is 75 wide
}

TEST_F(SplitterWndTest, SettingPaneSizeStopsAtTheNeighboursMinimum) {
  MakeTwoHorizontalPanes();
  first_->SetPaneSize(70);
  first_->SetPaneSize(5000);
  EXPECT_EQ(first_->PaneSize(), 70 + 369 - 3 - ScrollBarMinimum());
  second_->SetMinPaneSize(100);
  first_->SetPaneSize(5000);
  EXPECT_THAT(Sizes(), ElementsAre(439 - 3 - 100, 103));
  first_->SetPaneSize(1);
  EXPECT_EQ(first_->PaneSize(), ScrollBarMinimum());
  second_->SetPaneSize(10);  // the last pane follows the others
  EXPECT_EQ(second_->PaneSize(), 439 - ScrollBarMinimum());
}

TEST_F(SplitterWndTest, LonePaneAlwaysFillsTheSplitter) {
  host_.show();
  auto* pane = new TPane;
  pane->SetSplitterWnd(&splitter_);
  pane->SetPaneSize(10);
  EXPECT_EQ(pane->PaneSize(), 400);
  EXPECT_EQ(pane->geometry(), splitter_.rect());
}

TEST_F(SplitterWndTest, ResizingRescalesAllOrOnlyTheLastPane) {
  MakeTwoHorizontalPanes(300, 400);
  first_->SetPaneSize(100);
  splitter_.resize(300, 200);
  EXPECT_THAT(Sizes(), ElementsAre(50, 150));
  splitter_.SetProportionalResize(false);
  splitter_.resize(300, 300);
  EXPECT_THAT(Sizes(), ElementsAre(50, 250));
}

TEST_F(SplitterWndTest, RemovingAPaneRenumbersAndRescales) {
  MakeTwoHorizontalPanes(300, 400);
  auto* third = new TPane;
  third->SetSplitterWnd(&splitter_);
  delete second_;  // destroying a pane takes it out as well
  EXPECT_EQ(splitter_.PaneCount(), 2);
  EXPECT_EQ(third->PaneIndex(), 1);
  EXPECT_EQ(splitter_.Pane(1), third);
  EXPECT_EQ(first_->PaneSize() + third->PaneSize(), 400);
  first_->SetSplitterWnd(nullptr);
  EXPECT_EQ(first_->PaneIndex(), -1);
  EXPECT_EQ(third->PaneIndex(), 0);
  EXPECT_EQ(third->PaneSize(), 400);
  delete first_;
}

TEST_F(SplitterWndTest, MovingAPaneRenumbersAndLaysOut) {
  MakeTwoHorizontalPanes();
  first_->SetPaneSize(70);
  first_->SetPaneIndex(1);
  EXPECT_EQ(splitter_.Pane(0), second_);
  EXPECT_EQ(second_->PaneIndex(), 0);
  EXPECT_EQ(first_->PaneIndex(), 1);
  EXPECT_EQ(second_->geometry(), QRect(0, 0, 300, 369 - 1));
}

TEST_F(SplitterWndTest, TurningConvertsSizesToTheOtherAxis) {
  MakeTwoHorizontalPanes(600, 300);
  first_->SetPaneSize(100);
  splitter_.SetOrientation(swVertical);
  EXPECT_THAT(Sizes(), ElementsAre(200, 400));
  EXPECT_EQ(splitter_.cursor().shape(), Qt::SplitHCursor);
  EXPECT_EQ(second_->geometry(), QRect(202, 0, 398, 300));
  splitter_.SetThickness(0);
  EXPECT_EQ(splitter_.Thickness(), 1);
}

class SplitterDragTest : public SplitterWndTest {
 protected:
  SplitterDragTest() {
    MakeTwoHorizontalPanes();
    first_->SetPaneSize(70);
    splitter_.OnDrawDragRect = [this](TSplitterWnd&, const QRect& r, bool&) { drawn_.push_back(r); };
    splitter_.OnEraseDragRect = [this](TSplitterWnd&, const QRect& r, bool&) { erased_.push_back(r); };
    splitter_.OnPaneResize = [this](TSplitterWnd&) { ++resized_; };
  }
  std::vector<QRect> drawn_, erased_;
  int resized_ = 0;
};

TEST_F(SplitterDragTest, DragMovesTheBarOnRelease) {
  Mouse(QEvent::MouseButtonPress, {10, 70});
  EXPECT_EQ(splitter_.DragBar(), 0);
  EXPECT_THAT(drawn_, ElementsAre(QRect(0, 69, 300, 4)));
  Mouse(QEvent::MouseMove, {10, 70});  // same rectangle: nothing redrawn
  EXPECT_EQ(drawn_.size(), 1u);
  Mouse(QEvent::MouseMove, {10, 150});
  EXPECT_THAT(erased_, ElementsAre(QRect(0, 69, 300, 4)));
  EXPECT_EQ(drawn_.back(), QRect(0, 149, 300, 4));
  EXPECT_THAT(Sizes(), ElementsAre(70, 369));  // nothing changes before the release
  Mouse(QEvent::MouseButtonRelease, {10, 150});
  EXPECT_EQ(erased_.back(), QRect(0, 149, 300, 4));
  EXPECT_THAT(Sizes(), ElementsAre(150, 289));
  EXPECT_EQ(resized_, 1);
  EXPECT_EQ(splitter_.DragBar(), -1);
}

TEST_F(SplitterDragTest, DragStopsAtTheNeighboursMinimum) {
  second_->SetMinPaneSize(100);
  Mouse(QEvent::MouseButtonPress, {10, 71});
  Mouse(QEvent::MouseMove, {10, 430});
  EXPECT_EQ(drawn_.back(), splitter_.DragRectAt({0, 439 - 100}));
  Mouse(QEvent::MouseMove, {10, -40});
  EXPECT_EQ(drawn_.back(), splitter_.DragRectAt({0, ScrollBarMinimum()}));
  Mouse(QEvent::MouseButtonRelease, {10, -40});
  EXPECT_EQ(first_->PaneSize(), ScrollBarMinimum());
}

TEST_F(SplitterDragTest, NoSizingMeansAPressDoesNothing) {
  splitter_.SetAllowSizing(false);
  Mouse(QEvent::MouseButtonPress, {10, 70});
  Mouse(QEvent::MouseMove, {10, 200});
  Mouse(QEvent::MouseButtonRelease, {10, 200});
  EXPECT_TRUE(drawn_.empty());
  EXPECT_EQ(resized_, 0);
  EXPECT_THAT(Sizes(), ElementsAre(70, 369));
}

TEST_F(SplitterDragTest, PressBesideTheBarsDrawsNothing) {
  Mouse(QEvent::MouseButtonPress, {10, 300});
  EXPECT_EQ(splitter_.DragBar(), -1);
  EXPECT_TRUE(drawn_.empty());
}

// Pixels of the splitter with its panes, as the screen would show them.
QImage Shot(QWidget& widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

bool Inverted(const QImage& before, const QImage& after, QPoint at) {
  return (before.pixel(at) ^ after.pixel(at)) == 0x00FFFFFFu;
}

TEST_F(SplitterDragTest, SolidDragRectangleInvertsAndErasesItself) {
  splitter_.OnDrawDragRect = nullptr;
  splitter_.OnEraseDragRect = nullptr;
  splitter_.SetBarStyle(sbSolid);
  const QImage before = Shot(splitter_);
  Mouse(QEvent::MouseButtonPress, {10, 70});
  Mouse(QEvent::MouseMove, {10, 200});
  const QImage during = Shot(splitter_);
  for (int y = 199; y < 203; ++y) EXPECT_TRUE(Inverted(before, during, {5, y})) << y;
  EXPECT_EQ(before.pixel(5, 198), during.pixel(5, 198));
  EXPECT_EQ(before.pixel(5, 70), during.pixel(5, 70));  // the first rectangle is gone
  Mouse(QEvent::MouseMove, {10, 70});
  Mouse(QEvent::MouseButtonRelease, {10, 70});
  EXPECT_EQ(Shot(splitter_), before);
}

TEST_F(SplitterDragTest, CheckeredDragRectangleInvertsEveryOtherPixel) {
  splitter_.OnDrawDragRect = nullptr;
  const QImage before = Shot(splitter_);
  Mouse(QEvent::MouseButtonPress, {10, 200});  // beside the bar: no drag
  Mouse(QEvent::MouseButtonPress, {10, 70});
  const QImage during = Shot(splitter_);
  for (int x = 0; x < 16; ++x) {
    EXPECT_EQ(Inverted(before, during, {x, 69}), InvertingOverlay::CheckeredBit(x, 69)) << x;
    EXPECT_EQ(Inverted(before, during, {x, 70}), (x % 2) == 1) << x;  // a 0x55 row
  }
}

TEST_F(SplitterDragTest, OwnerDrawnRectanglesAreLeftToTheHandler) {
  splitter_.OnDrawDragRect = [](TSplitterWnd&, const QRect&, bool& owner_draw) { owner_draw = false; };
  const QImage before = Shot(splitter_);
  Mouse(QEvent::MouseButtonPress, {10, 70});
  EXPECT_EQ(Shot(splitter_), before);
}

}  // namespace
}  // namespace tessival::widgets
