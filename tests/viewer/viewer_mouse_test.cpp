// The mouse on a shown viewer: selecting, copying, hovering and clicking links.
#include "viewer_fixture.h"

#include <vector>

namespace tessival::viewer::testing {
namespace {

class ViewerMouseTest : public ViewerTest {
 protected:
  void SetUp() override {
    viewer.LoadFromFile(DataFile("sample_page.html"));
    viewer.OnHotSpotCovered = [this](const std::string& url) { covered.push_back(url); };
    PaintNow();
  }
  std::vector<std::string> covered;
};

TEST_F(ViewerMouseTest, DraggingSelectsTheTextBetweenPressAndRelease) {
  const QPoint from = PointOfText("Diese Seite");
  const QPoint to = PointOfText("wie ein", 0);
  Press(from);
  Move(to, Qt::LeftButton);
  Release(to);
  EXPECT_EQ(viewer.SelText(), "Diese Seite zeigt, ");
  EXPECT_EQ(viewer.SelLength(), 19);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard.GetText(), std::optional<std::string>("Diese Seite zeigt, "));
}

TEST_F(ViewerMouseTest, DraggingBackwardsGivesANegativeLength) {
  const QPoint from = PointOfText("zeigt");
  const QPoint to = PointOfText("Diese");
  Press(from);
  Move(to, Qt::LeftButton);
  Release(to);
  EXPECT_EQ(viewer.SelText(), "Diese Seite ");
  EXPECT_EQ(viewer.SelLength(), -12);
}

TEST_F(ViewerMouseTest, DoubleClickSelectsAWordWithAccentsUpToAHyphen) {
  // Windows-1252 bytes, as the page holds them: "\337" is sharp s, "\334" capital U umlaut.
  DoubleClick(PointOfText("Stra\337enbahn", 3));
  EXPECT_EQ(viewer.SelText(), "Stra\337enbahn");
  DoubleClick(PointOfText("Haltestelle", 2));
  EXPECT_EQ(viewer.SelText(), "Haltestelle");
  DoubleClick(PointOfText("\334bersetzungen", 1));
  EXPECT_EQ(viewer.SelText(), "\334bersetzungen");
  EXPECT_EQ(viewer.CaretIndex(), viewer.Document().SelStart);
}

TEST_F(ViewerMouseTest, NoSelectKeepsTheSelectionEmpty) {
  viewer.SetNoSelect(true);
  const QPoint from = PointOfText("Diese Seite");
  Press(from);
  Move(PointOfText("wie ein"), Qt::LeftButton);
  Release(PointOfText("wie ein"));
  DoubleClick(PointOfText("Seite"));
  EXPECT_EQ(viewer.SelText(), "");
}

TEST_F(ViewerMouseTest, HoverReportsTheLinkOnceAndShowsTheLinkCursor) {
  const QPoint link = PointOfText("zweites Dokument", 2);
  Move(link);
  Move(link + QPoint(3, 0));
  EXPECT_EQ(viewer.HoverURL(), "second.html");
  EXPECT_EQ(viewer.PanelCursor(), crLinkCursor);
  EXPECT_EQ(Panel().cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(viewer.HoverTimerActive());
  Move(PointOfText("Diese"));
  EXPECT_EQ(viewer.PanelCursor(), crTextCursor);
  EXPECT_EQ(covered, (std::vector<std::string>{"second.html", ""}));
}

TEST_F(ViewerMouseTest, LeavingThePanelOverALinkClearsTheHoverAtTheNextTick) {
  Move(PointOfText("Sprung ans Ende", 2));
  ASSERT_EQ(viewer.HoverURL(), "#ende");
  viewer.HoverTimerTick();
  EXPECT_EQ(viewer.HoverURL(), "#ende") << "still over the panel";
  Leave();
  viewer.HoverTimerTick();
  EXPECT_EQ(viewer.HoverURL(), "");
  EXPECT_FALSE(viewer.HoverTimerActive());
  EXPECT_EQ(covered, (std::vector<std::string>{"#ende", ""}));
}

TEST_F(ViewerMouseTest, HoverTimerFiresOnItsOwnWithin200ms) {
  Move(PointOfText("Sprung ans Ende", 2));
  Leave();
  QTest::qWait(250);
  EXPECT_EQ(viewer.HoverURL(), "");
}

TEST_F(ViewerMouseTest, ClickFollowsALinkButReleaseAfterDragDoesNot) {
  std::vector<std::string> clicked;
  viewer.OnHotSpotClick = [&clicked](const std::string& url, bool& handled) {
    clicked.push_back(url);
    handled = true;
  };
  const QPoint link = PointOfText("zweites Dokument", 2);
  Press(PointOfText("Diese"));
  Move(link, Qt::LeftButton);
  Release(link);
  EXPECT_TRUE(clicked.empty());
  EXPECT_FALSE(viewer.SelText().empty());
  Click(link);
  EXPECT_EQ(clicked, (std::vector<std::string>{"second.html"}));
  EXPECT_EQ(viewer.SelText(), "") << "the click also dropped the old selection";
}

TEST_F(ViewerMouseTest, DraggingPastTheBottomScrollsALineOrEightPer100ms) {
  Press(PointOfText("Diese"));
  const int height = Panel().height();
  Move(QPoint(50, height + 5), Qt::LeftButton);
  ASSERT_TRUE(viewer.AutoScrolling());
  EXPECT_TRUE(viewer.AutoScrollPass());
  EXPECT_EQ(viewer.VScrollBarPosition(), 16);
  now_ms += 50;
  viewer.AutoScrollPass();
  EXPECT_EQ(viewer.VScrollBarPosition(), 16) << "too early for the next step";
  now_ms += 50;
  viewer.AutoScrollPass();
  EXPECT_EQ(viewer.VScrollBarPosition(), 32);
  Move(QPoint(50, height + 40), Qt::LeftButton);
  now_ms += 100;
  viewer.AutoScrollPass();
  EXPECT_EQ(viewer.VScrollBarPosition(), 160);
  EXPECT_GT(viewer.SelLength(), 200) << "the selection followed the scroll";
  Move(QPoint(50, 100), Qt::LeftButton);
  EXPECT_FALSE(viewer.AutoScrollPass()) << "back inside: the loop ends";
  EXPECT_FALSE(viewer.AutoScrolling());
  Release(QPoint(50, 100));
}

TEST_F(ViewerMouseTest, RightClickReportsTheLinkAndWordUnderTheMouse) {
  TRightClickParameters seen;
  viewer.OnRightClick = [&seen](const TRightClickParameters& parameters) { seen = parameters; };
  const QPoint link = PointOfText("Dokument", 2);
  Press(link, Qt::RightButton);
  Release(link, Qt::RightButton);
  EXPECT_EQ(seen.URL, "second.html");
  EXPECT_EQ(seen.ClickWord, "Dokument");
  EXPECT_EQ(seen.Image, nullptr);
}

}  // namespace
}  // namespace tessival::viewer::testing
