// Scrolling a shown viewer with its keys, its bars and a resize.
#include "viewer_fixture.h"

#include "viewer/scroll_bar_32.h"

namespace tessival::viewer::testing {
namespace {

class ViewerScrollTest : public ViewerTest {
 protected:
  void SetUp() override {
    viewer.LoadFromFile(DataFile("sample_page.html"));
    PaintNow();
    ASSERT_GT(viewer.DocHeight(), 3 * Panel().height());
  }
  int Top() const { return viewer.VScrollBarPosition(); }
  int LastTop() { return viewer.DocHeight() - viewer.PaintPanel().height(); }
};

TEST_F(ViewerScrollTest, LineKeysCopyPixelsAndPageKeysRepaint) {
  Key(Qt::Key_Down);
  EXPECT_EQ(Top(), 16);
  EXPECT_EQ(viewer.Document().YOffset, 16);
  PaintNow();
  // Only the strip that came in is painted; the rest was copied.
  EXPECT_EQ(Panel().LastPaintedRegion().boundingRect().height(), 16);

  Key(Qt::Key_PageDown);
  EXPECT_EQ(Top(), 16 + Panel().height() - 16);
  PaintNow();
  EXPECT_EQ(Panel().LastPaintedRegion().boundingRect(), Panel().rect());

  Key(Qt::Key_Up);
  EXPECT_EQ(Top(), Panel().height() - 16);
}

TEST_F(ViewerScrollTest, EndAndHomeStopAtTheDocumentsEnds) {
  Key(Qt::Key_End);
  EXPECT_EQ(Top(), LastTop());
  Key(Qt::Key_Down);
  EXPECT_EQ(Top(), LastTop()) << "nothing below the last page";
  Key(Qt::Key_Home);
  EXPECT_EQ(Top(), 0);
  Key(Qt::Key_Up);
  EXPECT_EQ(Top(), 0);
}

TEST_F(ViewerScrollTest, BarShowsTheDocumentAndMovesIt) {
  EXPECT_TRUE(viewer.VScrollBar().isVisible());
  EXPECT_FALSE(viewer.HScrollBar().isVisible());
  EXPECT_EQ(viewer.VScrollBar().Max(), viewer.DocHeight());
  EXPECT_EQ(viewer.VScrollBar().maximum(), LastTop());
  viewer.VScrollBar().triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(viewer.Document().YOffset, 16);
  viewer.VScrollBar().triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(viewer.Document().YOffset, LastTop());
  EXPECT_EQ(Top(), LastTop());
}

TEST_F(ViewerScrollTest, ResizeKeepsTheSameTextAtTheTop) {
  const QPoint heading = PointOfText("Abschnitt 5", 1);
  viewer.ScrollToY(heading.y() + viewer.Document().YOffset - 6);
  const int top_before = Top();
  viewer.resize(300, 300);
  QCoreApplication::processEvents();
  PaintNow();
  EXPECT_GT(Top(), top_before) << "narrower: the heading moved down the document";
  const QPoint after = PointOfText("Abschnitt 5", 1);
  EXPECT_NEAR(after.y(), 6, 2) << "and the view followed it";
}

TEST_F(ViewerScrollTest, OneMiddleClickKeepsScrollModeUntilAKey) {
  const QPoint at(100, 100);
  Press(at, Qt::MiddleButton);
  Release(at, Qt::MiddleButton);
  EXPECT_TRUE(viewer.MiddleScrolling());
  EXPECT_EQ(viewer.PanelCursor(), crUpDownCursor);
  Key(Qt::Key_Down);
  EXPECT_FALSE(viewer.MiddleScrolling());
  EXPECT_EQ(Top(), 0) << "the key only ended the mode";
}

TEST_F(ViewerScrollTest, MiddleButtonHeldFarBelowScrollsAndPointsDown) {
  Press(QPoint(100, 100), Qt::MiddleButton);
  Move(QPoint(100, 170), Qt::MiddleButton);
  ASSERT_TRUE(viewer.AutoScrolling());
  EXPECT_TRUE(viewer.AutoScrollPass());
  EXPECT_EQ(Top(), 32);
  EXPECT_EQ(viewer.PanelCursor(), crDownOnlyCursor);
  EXPECT_TRUE(viewer.AutoScrollPass());
  EXPECT_EQ(Top(), 32) << "at most one step per 100 ms";
  now_ms += 100;
  EXPECT_TRUE(viewer.AutoScrollPass());
  EXPECT_EQ(Top(), 64);
  Release(QPoint(100, 170), Qt::MiddleButton);
  EXPECT_FALSE(viewer.MiddleScrolling());
  EXPECT_FALSE(viewer.AutoScrollPass());
}

class WideDocumentTest : public ViewerTest {};

TEST_F(WideDocumentTest, ScrollsSidewaysOnlyTo6000) {
  viewer.LoadFromString("<body><nobr>" + std::string(1400, 'W') + "</nobr></body>");
  ASSERT_EQ(viewer.DocWidth(), 6000);
  EXPECT_TRUE(viewer.HScrollBar().isVisible());
  viewer.SetHScrollBarPosition(100000);
  EXPECT_EQ(viewer.HScrollBarPosition(), 6000 - Panel().width());
  Key(Qt::Key_Left);
  EXPECT_EQ(viewer.HScrollBarPosition(), 6000 - Panel().width() - 15);
}

TEST_F(WideDocumentTest, ShortDocumentHasNoBars) {
  viewer.LoadFromString("<p>short</p>");
  EXPECT_FALSE(viewer.VScrollBar().isVisible());
  EXPECT_FALSE(viewer.HScrollBar().isVisible());
  EXPECT_EQ(Panel().width(), viewer.width() - 2) << "border on both sides, no bar";
  Key(Qt::Key_End);
  EXPECT_EQ(viewer.VScrollBarPosition(), 0);
}

}  // namespace
}  // namespace tessival::viewer::testing
