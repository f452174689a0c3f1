// The frame viewer across its frames: one visited list marking the links of every viewer,
// Reload, META refresh in pages and frame-set documents, and background sounds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>

#include "frame_viewer_fixture.h"
#include "layout/font_obj.h"
#include "viewer/page_viewer.h"

namespace tessival::viewer {
namespace {

using testing::FrameViewerTest;
namespace fs = std::filesystem;

// The visited marks of a viewer's links, in document order.
std::vector<bool> VisitedMarks(TPageViewer& viewer) {
  std::vector<bool> marks;
  for (const layout::TFontObj* link : viewer.Document().LinkList()) marks.push_back(link->Visited);
  return marks;
}

class FrameVisitedTest : public FrameViewerTest {
 protected:
  void LoadNavigation() {
    Write("b.htm", "<p>Second page");
    Write("c.htm", "<p>Third page");
    Write("nav.htm",
          "<base target=main><a href=b.htm>b</a> <a href=c.htm>c</a> <a href=#here>here</a>"
          "<a name=here>anchor</a>");
    Write("other.htm",
          "<a href=c.htm>c</a> <a href=b.htm>b</a> <a href=#here>here</a><a name=here>x</a>");
    viewer_->LoadFromFile(Write("set.htm",
                                "<frameset cols=*,*,*><frame src=nav.htm><frame name=main "
                                "src=other.htm><frame src=other.htm></frameset>"));
  }
};

TEST_F(FrameVisitedTest, AFollowedLinkIsMarkedInEveryFrame) {
  LoadNavigation();
  ASSERT_EQ(viewer_->ViewerCount(), 3);
  bool handled = false;
  viewer_->HotSpotClick(*Frame(0).Viewer(), "b.htm", handled);
  ASSERT_EQ(AllText(*Frame(1).Viewer()), "Second page");
  EXPECT_EQ(viewer_->VisitedList().front(), (dir_ / "b.htm").string());
  EXPECT_THAT(VisitedMarks(*Frame(0).Viewer()), ::testing::ElementsAre(true, false, false));
  // The third frame never showed b.htm, yet its link to it is marked too.
  EXPECT_THAT(VisitedMarks(*Frame(2).Viewer()), ::testing::ElementsAre(false, true, false));

  // An anchor on the page shown (in a frame without a base target): the viewer stays, and
  // the anchor counts as visited there only.
  TPageViewer* other = Frame(2).Viewer();
  viewer_->HotSpotClick(*other, "#here", handled);
  EXPECT_EQ(Frame(2).Viewer(), other);
  EXPECT_EQ(viewer_->VisitedList().front(), (dir_ / "other.htm").string() + "#here");
  EXPECT_THAT(VisitedMarks(*other), ::testing::ElementsAre(false, true, true));
  EXPECT_THAT(VisitedMarks(*Frame(0).Viewer()), ::testing::ElementsAre(true, false, false));
}

TEST_F(FrameVisitedTest, NoVisitedCountForgetsAndUnmarksEverything) {
  LoadNavigation();
  bool handled = false;
  viewer_->HotSpotClick(*Frame(0).Viewer(), "c.htm", handled);
  viewer_->HotSpotClick(*Frame(0).Viewer(), "b.htm", handled);
  EXPECT_THAT(VisitedMarks(*Frame(2).Viewer()), ::testing::ElementsAre(true, true, false));
  viewer_->SetVisitedMaxCount(1);
  EXPECT_EQ(viewer_->VisitedList().size(), 1u);
  viewer_->SetVisitedMaxCount(0);
  EXPECT_TRUE(viewer_->VisitedList().empty());
  EXPECT_THAT(VisitedMarks(*Frame(2).Viewer()), ::testing::ElementsAre(false, false, false));
  viewer_->HotSpotClick(*Frame(0).Viewer(), "c.htm", handled);
  EXPECT_TRUE(viewer_->VisitedList().empty());
}

TEST_F(FrameViewerTest, ReloadReadsEveryFrameAgainWhereItStood) {
  std::string lines;
  for (int i = 0; i < 200; ++i) lines += "<p>line " + std::to_string(i);
  Write("long.htm", lines);
  Write("short.htm", "<p>before");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset rows=*,*><frame src=long.htm><frame src=short.htm></frameset>"));
  TPageViewer& long_viewer = *Frame(0).Viewer();
  long_viewer.SetVScrollBarPosition(300);
  const int position = long_viewer.VScrollBarPosition();
  ASSERT_GT(position, 0);
  Write("short.htm", "<p>after");
  std::vector<bool> processing;
  viewer_->OnProcessing = [&](bool on) { processing.push_back(on); };
  viewer_->Reload();
  EXPECT_EQ(AllText(*Frame(1).Viewer()), "after");
  EXPECT_EQ(Frame(0).Viewer()->VScrollBarPosition(), position);
  EXPECT_THAT(processing, ::testing::ElementsAre(true, false));
  // A frame whose document has gone shows the error document.
  fs::remove(dir_ / "short.htm");
  viewer_->Reload();
  EXPECT_THAT(AllText(*Frame(1).Viewer()), ::testing::HasSubstr("Can't load"));
}

TEST_F(FrameViewerTest, AFramePageRefreshesItsFrameOnlyWhenAskedTo) {
  Write("next.htm", "<p>Next page");
  Write("first.htm", "<meta http-equiv=refresh content=\"1; url=next.htm\"><p>First page");
  Write("still.htm", "<p>Still");
  const std::string set =
      Write("set.htm", "<frameset cols=*,*><frame src=first.htm><frame src=still.htm></frameset>");
  viewer_->LoadFromFile(set);
  EXPECT_FALSE(Frame(0).RefreshPending());

  viewer_->SetfvOptions(viewer_->fvOptions() | fvMetaRefresh);
  Write("set2.htm", "<frameset cols=*,*><frame src=first.htm><frame src=still.htm></frameset>");
  viewer_->LoadFromFile((dir_ / "set2.htm").string());
  ASSERT_TRUE(Frame(0).RefreshPending());
  EXPECT_EQ(Frame(0).RefreshUrl(), (dir_ / "next.htm").string());
  QTRY_COMPARE_WITH_TIMEOUT(Frame(0).Viewer() != nullptr ? AllText(*Frame(0).Viewer()) : "",
                            std::string("Next page"), 5000);
  EXPECT_EQ(AllText(*Frame(1).Viewer()), "Still");
}

TEST_F(FrameViewerTest, ARefreshTowardsAMissingDocumentNeverStarts) {
  viewer_->SetfvOptions(viewer_->fvOptions() | fvMetaRefresh);
  Write("still.htm", "<p>Still");
  Write("first.htm", "<meta http-equiv=refresh content=\"1; url=gone.htm\"><p>First");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*><frame src=first.htm><frame src=still.htm></frameset>"));
  EXPECT_FALSE(Frame(0).RefreshPending());
}

TEST_F(FrameViewerTest, ARefreshingSinglePageWithoutUrlIsReloaded) {
  viewer_->SetfvOptions(viewer_->fvOptions() | fvMetaRefresh);
  const std::string page = Write("page.htm", "<meta http-equiv=refresh content=1><p>old");
  viewer_->LoadFromFile(page);
  TFrameSet* set = &viewer_->TopSet();
  ASSERT_TRUE(Frame(0).RefreshPending());
  Write("page.htm", "<p>new");
  QTRY_COMPARE_WITH_TIMEOUT(AllText(*viewer_->CurrentViewer()), std::string("new"), 5000);
  EXPECT_EQ(&viewer_->TopSet(), set);  // reloaded in place, not loaded anew
}

TEST_F(FrameViewerTest, AFrameSetDocumentRefreshesTheWholeViewer) {
  viewer_->SetfvOptions(viewer_->fvOptions() | fvMetaRefresh);
  Write("a.htm", "A");
  Write("after.htm", "<p>After the frames");
  viewer_->LoadFromFile(Write("set.htm",
                              "<head><meta http-equiv=refresh content=\"1;url=after.htm\"></head>"
                              "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>"));
  ASSERT_TRUE(viewer_->TopSet().RefreshPending());
  QTRY_COMPARE_WITH_TIMEOUT(viewer_->TopSet().DocumentName(), (dir_ / "after.htm").string(), 5000);
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "After the frames");
}

TEST_F(FrameViewerTest, ANestedFrameSetRefreshesItsOwnFrame) {
  viewer_->SetfvOptions(viewer_->fvOptions() | fvMetaRefresh);
  Write("a.htm", "A");
  Write("b.htm", "B");
  Write("inner.htm",
        "<head><meta http-equiv=refresh content=\"1;url=b.htm\"></head>"
        "<frameset rows=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*><frame src=inner.htm><frame src=a.htm></frameset>"));
  ASSERT_NE(Frame(0).FrameSet(), nullptr);
  EXPECT_TRUE(Frame(0).FrameSet()->RefreshPending());
  QTRY_VERIFY_WITH_TIMEOUT(Frame(0).Viewer() != nullptr, 5000);
  EXPECT_EQ(AllText(*Frame(0).Viewer()), "B");
  EXPECT_EQ(viewer_->ViewerCount(), 2);
}

TEST_F(FrameViewerTest, AFrameSetsBackgroundSoundIsAskedFor) {
  std::vector<std::string> sounds;
  viewer_->OnSoundRequest = [&](const std::string& src, int loop, bool terminate) {
    sounds.push_back(src + " " + std::to_string(loop) + (terminate ? " stop" : ""));
  };
  Write("a.htm", "A");
  viewer_->LoadFromFile(Write("set.htm",
                              "<head><bgsound src=tune.mid loop=3></head>"
                              "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>"));
  // The frame set's own sound, once, besides the viewers stopping theirs as they load.
  EXPECT_EQ(std::ranges::count(sounds, "tune.mid 3"), 1);
  EXPECT_EQ(std::ranges::count_if(sounds, [](const std::string& s) { return !s.ends_with("stop"); }), 1);
}

}  // namespace
}  // namespace tessival::viewer
