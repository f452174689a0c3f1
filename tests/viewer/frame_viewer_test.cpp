// The frame viewer on the offscreen platform: frame sets built from files, link targets,
// failing documents, border dragging and copying.
#include "viewer/frame_viewer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "platform/clipboard.h"
#include "tests/widgets/qt_app_fixture.h"
#include "frame_viewer_fixture.h"
#include "viewer/frame_set.h"
#include "viewer/fv_frame.h"
#include "viewer/fv_load_error.h"

namespace tessival::viewer {
namespace {

using testing::FrameViewerTest;
namespace fs = std::filesystem;

TEST_F(FrameViewerTest, AnOrdinaryPageGetsOneFrameWithOneViewer) {
  viewer_->LoadFromFile(Write("page.htm", "<title>Plain</title><p>Hello frames"));
  ASSERT_EQ(viewer_->ViewerCount(), 1);
  EXPECT_EQ(viewer_->CurrentViewer(), viewer_->ViewerAt(0));
  EXPECT_EQ(viewer_->DocumentTitle(), "Plain");
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "Hello frames");
  EXPECT_EQ(viewer_->SelText(), "Hello frames\r\n");
}

TEST_F(FrameViewerTest, RowsShareTheHeightAndEntriesMatchTheFrames) {
  viewer_->SetfvOptions(fvNoBorder);
  viewer_->resize(400, 400);
  Write("a.htm", "A");
  viewer_->LoadFromFile(Write("rows.htm",
                              "<frameset rows=\"100,*,2*\"><frame src=a.htm><frame src=a.htm>"
                              "<frame src=a.htm></frameset>"));
  EXPECT_TRUE(viewer_->TopSet().SplitsRows());
  EXPECT_EQ(Frame(0).height(), 100);
  EXPECT_EQ(Frame(1).height(), 100);
  EXPECT_EQ(Frame(2).height(), 200);
  EXPECT_EQ(Frame(2).y(), 200);
  EXPECT_EQ(viewer_->ViewerCount(), 3);

  // One COLS entry for three frames: the others become relative entries.
  viewer_->LoadFromFile(
      Write("cols.htm", "<frameset cols=100><frame src=a.htm><frame><frame></frameset>"));
  EXPECT_THAT(viewer_->TopSet().DimSpecs(), ::testing::ElementsAre(100, -1, -1));
  EXPECT_EQ(Frame(1).width(), 150);
  // Neither ROWS nor COLS: equal columns.
  viewer_->LoadFromFile(Write("none.htm", "<frameset><frame src=a.htm><frame src=a.htm></frameset>"));
  EXPECT_FALSE(viewer_->TopSet().SplitsRows());
  EXPECT_EQ(Frame(0).width(), 200);
  EXPECT_EQ(Frame(1).x(), 200);
}

TEST_F(FrameViewerTest, FrameSourcesAreReadBesideTheFrameSetDocument) {
  Write("sub/left.htm", "<p>Left side");
  viewer_->LoadFromFile(Write("sub/set.htm",
                              "<frameset cols=*,*><frame name=left src=left.htm>"
                              "<frame name=gone src=missing.htm></frameset>"));
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  EXPECT_EQ(AllText(*Frame(0).Viewer()), "Left side");
  EXPECT_EQ(Frame(0).FrameSource(), (dir_ / "sub/left.htm").string());
  // The frame that fails shows the error document instead.
  EXPECT_THAT(AllText(*Frame(1).Viewer()),
              ::testing::StartsWith(" Can't load " + dir_.string().substr(0, 10)));
  EXPECT_THAT(AllText(*Frame(1).Viewer()), ::testing::EndsWith("/sub/missing.htm"));
}

TEST_F(FrameViewerTest, AFrameSetThatHoldsItselfStopsFourLoadsDeep) {
  Write("leaf.htm", "leaf");
  viewer_->LoadFromFile(
      Write("loop.htm", "<frameset cols=*,*><frame src=loop.htm><frame src=leaf.htm></frameset>"));
  // A leaf viewer on each of the four levels that load; the fifth level stays empty.
  EXPECT_EQ(viewer_->ViewerCount(), 4);
  TfvFrame* deepest = &Frame(0);
  for (int level = 0; level < 4; ++level) {
    ASSERT_NE(deepest->FrameSet(), nullptr) << level;
    deepest = dynamic_cast<TfvFrame*>(deepest->FrameSet()->Children().at(0));
  }
  EXPECT_EQ(deepest->Viewer(), nullptr);
  EXPECT_EQ(deepest->FrameSet(), nullptr);
}

TEST_F(FrameViewerTest, AMissingTopDocumentRaisesAndTheOldFrameSetStays) {
  viewer_->LoadFromFile(Write("page.htm", "<p>Still here"));
  TFrameSet* before = &viewer_->TopSet();
  const std::string missing = (dir_ / "nothing.htm").string();
  try {
    viewer_->LoadFromFile(missing + "#anchor");
    FAIL() << "no error";
  } catch (const EfvLoadError& error) {
    EXPECT_EQ(std::string(error.what()), "Can't locate file: " + missing);
  }
  EXPECT_EQ(&viewer_->TopSet(), before);
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "Still here");
  EXPECT_FALSE(viewer_->Busy());
}

TEST_F(FrameViewerTest, LinksGoToTheirTargetFrame) {
  Write("b.htm", "<p>Second page");
  Write("nav.htm", "<base target=MAIN><a href=b.htm>go</a>");
  Write("blank.htm", "<base target=_blank><a href=b.htm>go</a>");
  Write("first.htm", "<p>First page");
  viewer_->LoadFromFile(Write("set.htm",
                              "<frameset cols=*,*,*><frame src=nav.htm><frame name=main src=first.htm>"
                              "<frame src=blank.htm></frameset>"));
  bool handled = false;
  viewer_->HotSpotClick(*Frame(0).Viewer(), "b.htm", handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(AllText(*Frame(1).Viewer()), "Second page");
  EXPECT_EQ(AllText(*Frame(0).Viewer()), "go");

  // _blank without a handler for new windows: nothing happens anywhere.
  viewer_->HotSpotClick(*Frame(2).Viewer(), "first.htm", handled);
  EXPECT_TRUE(handled);
  EXPECT_EQ(AllText(*Frame(1).Viewer()), "Second page");
  EXPECT_EQ(AllText(*Frame(2).Viewer()), "go");
  std::vector<std::string> windows;
  viewer_->OnBlankWindowRequest = [&](const std::string& target, const std::string& url) {
    windows.push_back(target + " " + url);
  };
  viewer_->HotSpotClick(*Frame(2).Viewer(), "first.htm", handled);
  EXPECT_THAT(windows, ::testing::ElementsAre("_blank first.htm"));
}

TEST_F(FrameViewerTest, ALinkClickedWithTheMouseMayReplaceThePageItWasClickedIn) {
  Write("b.htm", "<p>Second page");
  viewer_->LoadFromFile(Write("a.htm", "<h1><a href=b.htm>WWWWWWWWWWWW</a></h1>"));
  QCoreApplication::processEvents();
  ClickWithMouse(*viewer_->CurrentViewer(), QPoint(40, 30));
  // The old page's viewer goes only after its click has been handled.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(viewer_->TopSet().DocumentName(), (dir_ / "b.htm").string());
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "Second page");
}

TEST_F(FrameViewerTest, AHostThatHandlesLinkClicksKeepsEveryPage) {
  Write("b.htm", "<p>Second page");
  viewer_->LoadFromFile(Write("a.htm", "<a href=b.htm>go</a>"));
  std::vector<std::string> asked;
  viewer_->OnHotSpotTargetClick = [&](const std::string&, const std::string& url, bool& handled) {
    asked.push_back(url);
    handled = true;
  };
  bool handled = false;
  viewer_->HotSpotClick(*viewer_->CurrentViewer(), "b.htm", handled);
  EXPECT_TRUE(handled);
  EXPECT_THAT(asked, ::testing::ElementsAre("b.htm"));
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "go");
}

TEST_F(FrameViewerTest, ALongSelectionIsCopiedWhole) {
  std::string words;
  while (words.size() < 200000) words += "wort ";
  words.resize(200000);
  viewer_->LoadFromFile(Write("long.htm", "<pre>" + words + "</pre>"));
  viewer_->CurrentViewer()->SelectAll();
  ASSERT_GE(viewer_->CurrentViewer()->SelLength(), 200000);
  viewer_->CopyToClipboard();
  ASSERT_TRUE(clipboard_.GetText().has_value());
  EXPECT_EQ(*clipboard_.GetText(), viewer_->SelText());
  EXPECT_EQ(clipboard_.GetText()->substr(0, words.size()), words);
}

TEST_F(FrameViewerTest, CtrlCInAViewerReachesTheKeyHandlerAsCharacterThree) {
  viewer_->LoadFromFile(Write("page.htm", "<p>Keys"));
  std::vector<int> keys;
  viewer_->OnKeyPress = [&](TPageViewer&, char& key) { keys.push_back(key); };
  QTest::keyClick(viewer_->CurrentViewer(), Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(viewer_->CurrentViewer(), Qt::Key_X);
  EXPECT_THAT(keys, ::testing::ElementsAre(3, 'x'));
}

TEST_F(FrameViewerTest, ABorderDragsWithinItsNeighboursAndTheProportionsSurviveAResize) {
  Write("a.htm", "A");
  viewer_->LoadFromFile(Write("cols.htm",
                              "<frameset cols=*,*,*><frame src=a.htm><frame src=a.htm>"
                              "<frame src=a.htm noresize></frameset>"));
  TFrameSet& set = viewer_->TopSet();
  ASSERT_EQ(set.OuterBorder(), 2);  // inner width 400
  const std::vector<int> ends = set.DimEnds();
  ASSERT_EQ(ends.size(), 4u);
  TfvFrame& left = Frame(0);
  const int bevel_x = left.width() - 1;  // the left frame's own right border

  // Within 4 pixels of the boundary the cursor offers the split; farther it does not.
  Mouse(left, QEvent::MouseMove, {bevel_x, 50}, Qt::NoButton);
  EXPECT_EQ(left.cursor().shape(), Qt::SplitHCursor);
  Mouse(left, QEvent::MouseMove, {0, 50}, Qt::NoButton);
  EXPECT_NE(left.cursor().shape(), Qt::SplitHCursor);
  // The boundary beside the NORESIZE frame never moves.
  Mouse(Frame(1), QEvent::MouseMove, {Frame(1).width() - 1, 50}, Qt::NoButton);
  EXPECT_NE(Frame(1).cursor().shape(), Qt::SplitHCursor);

  // Dragged far to the right, the boundary stops just before the next one.
  Mouse(left, QEvent::MouseMove, {bevel_x, 50}, Qt::NoButton);
  Mouse(left, QEvent::MouseButtonPress, {bevel_x, 50}, Qt::LeftButton);
  ASSERT_EQ(set.DraggingSet(), &set);
  Mouse(left, QEvent::MouseMove, {390, 50}, Qt::LeftButton);
  ASSERT_NE(set.FocusLine(), nullptr);
  EXPECT_TRUE(set.FocusLine()->isVisible());
  Mouse(left, QEvent::MouseButtonRelease, {390, 50}, Qt::LeftButton);
  EXPECT_EQ(set.DraggingSet(), nullptr);
  // Held one pixel before the next boundary; placing again may round that pixel back.
  EXPECT_GE(set.DimEnds()[1], ends[2] - 1);
  EXPECT_LE(set.DimEnds()[1], ends[2]);
  EXPECT_NEAR(set.DimEnds()[2], ends[2], 1);

  // Back to about a quarter of the width (the frame sits 2 pixels in), then the window
  // doubles: the quarter stays.
  Mouse(left, QEvent::MouseMove, {left.width() - 1, 50}, Qt::NoButton);
  Mouse(left, QEvent::MouseButtonPress, {left.width() - 1, 50}, Qt::LeftButton);
  Mouse(left, QEvent::MouseButtonRelease, {98, 50}, Qt::LeftButton);
  EXPECT_EQ(set.DimEnds()[1], 98);
  viewer_->resize(804, 404);
  EXPECT_EQ(left.width(), 196);
}

}  // namespace
}  // namespace tessival::viewer
