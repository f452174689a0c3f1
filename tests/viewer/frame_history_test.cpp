// The frame viewer's history: the top level's list off as the program runs it, top-level
// documents with their sets, documents in frames, Back and Forward across both, and forms
// kept across Reload and history steps.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "frame_viewer_fixture.h"
#include "viewer/page_viewer.h"

namespace tessival::viewer {
namespace {

using testing::FrameViewerTest;
namespace fs = std::filesystem;

class FrameHistoryTest : public FrameViewerTest {
 protected:
  FrameHistoryTest() {
    viewer_->OnHistoryChange = [this] { ++history_changes_; };
  }
  std::vector<std::string> TopNames() const {
    std::vector<std::string> names;
    for (const FrameViewerHistoryEntry& entry : viewer_->History())
      names.push_back(fs::path(entry.Name).filename().string());
    return names;
  }
  std::string Shown(int frame) { return AllText(*Frame(frame).Viewer()); }
  // The sets still alive under the frame viewer once freed ones are gone.
  int LiveSets() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return static_cast<int>(viewer_->findChildren<TFrameSet*>(Qt::FindDirectChildrenOnly).size());
  }
  void Click(int frame, const std::string& url) {
    bool handled = false;
    viewer_->HotSpotClick(*Frame(frame).Viewer(), url, handled);
  }
  std::string LongPage(const std::string& word) {
    std::string lines;
    for (int i = 0; i < 200; ++i) lines += "<p>" + word + " " + std::to_string(i);
    return lines;
  }
  // A navigation frame whose links go to the frame named main.
  std::string NavigationSet() {
    Write("b.htm", "<p>Bee");
    Write("c.htm", "<p>Sea");
    Write("start.htm", "<p>Start");
    Write("nav.htm", "<base target=main><a href=b.htm>b</a> <a href=c.htm>c</a>");
    return Write("set.htm",
                 "<frameset cols=*,*><frame src=nav.htm><frame name=main src=start.htm></frameset>");
  }

  int history_changes_ = 0;
};

TEST_F(FrameHistoryTest, WithoutAHistoryCountSetsAreFreedButFramesKeepTheirMoves) {
  viewer_->LoadFromFile(NavigationSet());
  Click(0, "b.htm");
  Click(0, "c.htm");
  // The moves inside the set are still steps back: only the top level's list is off.
  EXPECT_TRUE(viewer_->BackButtonEnabled());
  viewer_->GoBack();
  EXPECT_EQ(Shown(1), "Bee");
  EXPECT_TRUE(viewer_->FwdButtonEnabled());
  EXPECT_GT(history_changes_, 0);

  viewer_->LoadFromFile(Write("other.htm", "<p>Other"));
  viewer_->LoadFromFile((dir_ / "set.htm").string());
  EXPECT_TRUE(viewer_->History().empty());
  EXPECT_EQ(Frame(1).History().size(), 1u);  // the document the set names
  EXPECT_FALSE(viewer_->BackButtonEnabled());
  EXPECT_FALSE(viewer_->FwdButtonEnabled());
  viewer_->GoBack();
  EXPECT_EQ(Shown(1), "Start");
  // Replaced sets are freed, not kept for a Back that never comes.
  EXPECT_EQ(LiveSets(), 1);
}

TEST_F(FrameHistoryTest, TopLevelDocumentsAreSteppedThroughWithTheirSetsAndPlaces) {
  viewer_->SetHistoryMaxCount(5);
  const std::string first = Write("first.htm", LongPage("first"));
  viewer_->LoadFromFile(first);
  TFrameSet* first_set = &viewer_->TopSet();
  viewer_->CurrentViewer()->SetVScrollBarPosition(400);
  const int place = viewer_->CurrentViewer()->VScrollBarPosition();
  ASSERT_GT(place, 0);
  viewer_->LoadFromFile(NavigationSet());
  viewer_->LoadFromFile(Write("third.htm", "<title>Third</title><p>Third"));
  EXPECT_THAT(TopNames(), ::testing::ElementsAre("third.htm", "set.htm", "first.htm"));
  EXPECT_EQ(viewer_->History().front().Title, "Third");
  EXPECT_EQ(viewer_->HistoryIndex(), 0);
  EXPECT_TRUE(viewer_->BackButtonEnabled());
  EXPECT_FALSE(viewer_->FwdButtonEnabled());

  viewer_->GoBack();
  EXPECT_EQ(viewer_->HistoryIndex(), 1);
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  EXPECT_EQ(Shown(1), "Start");
  viewer_->GoBack();
  EXPECT_EQ(&viewer_->TopSet(), first_set);  // the set kept for it, not a new one
  EXPECT_EQ(viewer_->CurrentViewer()->VScrollBarPosition(), place);
  EXPECT_FALSE(viewer_->BackButtonEnabled());
  EXPECT_TRUE(viewer_->FwdButtonEnabled());

  viewer_->GoFwd();
  EXPECT_EQ(viewer_->TopSet().DocumentName(), (dir_ / "set.htm").string());
  // A new document from the middle of the history drops the entries ahead of it.
  viewer_->LoadFromFile(Write("fourth.htm", "<p>Fourth"));
  EXPECT_THAT(TopNames(), ::testing::ElementsAre("fourth.htm", "set.htm", "first.htm"));
  EXPECT_EQ(LiveSets(), 3);
}

TEST_F(FrameHistoryTest, TheCountLimitsTheEntriesAndAChangeForgetsThem) {
  viewer_->SetHistoryMaxCount(2);
  viewer_->LoadFromFile(Write("a.htm", "A"));
  viewer_->LoadFromFile(Write("b.htm", "B"));
  viewer_->LoadFromFile(Write("c.htm", "C"));
  EXPECT_THAT(TopNames(), ::testing::ElementsAre("c.htm", "b.htm"));
  EXPECT_EQ(LiveSets(), 2);
  const int changes = history_changes_;
  viewer_->SetHistoryMaxCount(2);  // unchanged: kept
  EXPECT_EQ(viewer_->History().size(), 2u);
  viewer_->SetHistoryMaxCount(3);
  EXPECT_TRUE(viewer_->History().empty());
  EXPECT_EQ(history_changes_, changes + 1);
  EXPECT_EQ(LiveSets(), 1);
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "C");
  viewer_->SetHistoryMaxCount(0);
  EXPECT_EQ(history_changes_, changes + 1);  // nothing left to forget
}

TEST_F(FrameHistoryTest, BackUndoesTheLatestFrameMoveBeforeTheTopLevel) {
  viewer_->SetHistoryMaxCount(5);
  viewer_->LoadFromFile(Write("before.htm", "<p>Before"));
  Write("x1.htm", "<p>x1");
  Write("x2.htm", "<p>x2");
  Write("side.htm", "<a href=x1.htm target=side>x1</a> <a href=x2.htm target=side>x2</a>");
  NavigationSet();
  viewer_->LoadFromFile(Write("three.htm",
                              "<frameset cols=*,*,*><frame src=nav.htm><frame name=main src=start.htm>"
                              "<frame name=side src=side.htm></frameset>"));
  Click(0, "b.htm");
  Click(2, "x1.htm");
  Click(0, "c.htm");
  EXPECT_TRUE(viewer_->BackButtonEnabled());
  viewer_->GoBack();
  EXPECT_EQ(Shown(1), "Bee");
  EXPECT_EQ(Shown(2), "x1");
  viewer_->GoBack();
  EXPECT_EQ(Shown(2), "x1 x2");
  viewer_->GoBack();
  EXPECT_EQ(Shown(1), "Start");
  EXPECT_EQ(viewer_->HistoryIndex(), 0);
  viewer_->GoBack();
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "Before");

  // Forward replays them in the order they happened.
  viewer_->GoFwd();
  EXPECT_EQ(Shown(1), "Start");
  viewer_->GoFwd();
  EXPECT_EQ(Shown(1), "Bee");
  viewer_->GoFwd();
  EXPECT_EQ(Shown(2), "x1");
  EXPECT_EQ(Shown(1), "Bee");
  // A new move from here forgets the forward step in every frame.
  Click(2, "x2.htm");
  EXPECT_FALSE(viewer_->FwdButtonEnabled());
  viewer_->GoBack();
  EXPECT_EQ(Shown(2), "x1");
  EXPECT_EQ(Shown(1), "Bee");
}

TEST_F(FrameHistoryTest, FormsArePutBackByReloadAndByBack) {
  NavigationSet();
  Write("form.htm", "<form><input name=q value=typed></form>" + LongPage("form"));
  viewer_->LoadFromFile(Write("set.htm",
                              "<frameset rows=*,*><frame name=main src=form.htm>"
                              "<frame src=nav.htm></frameset>"));
  TPageViewer& form_viewer = *Frame(0).Viewer();
  const layout::TFormData typed{{"q=changed"}};
  form_viewer.SetFormData(typed);
  form_viewer.SetVScrollBarPosition(300);
  const int place = form_viewer.VScrollBarPosition();
  viewer_->Reload();
  EXPECT_EQ(Frame(0).Viewer()->FormData(), typed);
  EXPECT_EQ(Frame(0).Viewer()->VScrollBarPosition(), place);

  viewer_->SetHistoryMaxCount(5);
  viewer_->LoadFromFile((dir_ / "set.htm").string());  // read again: the history starts
  Frame(0).Viewer()->SetFormData(typed);
  Click(1, "b.htm");
  ASSERT_EQ(Shown(0), "Bee");
  viewer_->GoBack();
  EXPECT_EQ(Frame(0).Viewer()->FormData(), typed);
}

TEST_F(FrameHistoryTest, AJumpInsideThePageShownIsAStepOfItsFrame) {
  viewer_->SetHistoryMaxCount(5);
  Write("long.htm", LongPage("long") + "<a name=end>end</a>");
  Write("nav.htm", "<base target=main><a href=long.htm#end>end</a>");
  viewer_->LoadFromFile(
      Write("set.htm",
            "<frameset cols=*,*><frame src=nav.htm><frame name=main src=long.htm></frameset>"));
  Click(0, "long.htm#end");
  EXPECT_GT(Frame(1).Viewer()->VScrollBarPosition(), 0);
  EXPECT_EQ(Frame(1).History().size(), 2u);
  viewer_->GoBack();
  EXPECT_EQ(Frame(1).Viewer()->VScrollBarPosition(), 0);
}

TEST_F(FrameHistoryTest, AFrameThatHeldAFrameSetShowsAPageAndBackBuildsTheSetAgain) {
  viewer_->SetHistoryMaxCount(5);
  NavigationSet();
  Write("a.htm", "<p>A");
  Write("inner.htm", "<frameset rows=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  Write("nav.htm", "<base target=main><a href=b.htm>b</a>");
  viewer_->LoadFromFile(
      Write("outer.htm",
            "<frameset cols=*,*><frame src=nav.htm><frame name=main src=inner.htm></frameset>"));
  ASSERT_EQ(viewer_->ViewerCount(), 3);
  Click(0, "b.htm");
  // The page replaces the nested set: the frame holds one or the other, never both.
  EXPECT_EQ(Frame(1).FrameSet(), nullptr);
  EXPECT_EQ(Shown(1), "Bee");
  EXPECT_EQ(viewer_->ViewerCount(), 2);
  viewer_->GoBack();
  ASSERT_NE(Frame(1).FrameSet(), nullptr);
  EXPECT_EQ(Frame(1).Viewer(), nullptr);
  EXPECT_EQ(viewer_->ViewerCount(), 3);
  viewer_->GoFwd();
  EXPECT_EQ(Shown(1), "Bee");
}

TEST_F(FrameHistoryTest, ALinkToTheFrameSetShownPutsItsFramesBack) {
  viewer_->SetHistoryMaxCount(5);
  NavigationSet();
  Write("a.htm", "<p>A");
  Write("inner.htm", "<frameset rows=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  Write("nav.htm", "<base target=main><a href=inner.htm>inner</a>");
  viewer_->LoadFromFile(
      Write("outer.htm",
            "<frameset cols=*,*><frame src=nav.htm><frame name=main src=inner.htm></frameset>"));
  TSubFrameSet* inner = Frame(1).FrameSet();
  ASSERT_NE(inner, nullptr);
  auto& nested = dynamic_cast<TfvFrame&>(*inner->Children().at(0));
  bool handled = false;
  viewer_->HotSpotClick(*nested.Viewer(), "b.htm", handled);
  ASSERT_EQ(AllText(*nested.Viewer()), "Bee");
  Click(0, "inner.htm");
  EXPECT_EQ(Frame(1).FrameSet(), inner);  // kept, not built again
  EXPECT_EQ(AllText(*nested.Viewer()), "A");
  viewer_->GoBack();
  EXPECT_EQ(AllText(*nested.Viewer()), "Bee");
}

TEST_F(FrameHistoryTest, TheDocumentShownReadAgainStaysOneEntry) {
  viewer_->SetHistoryMaxCount(5);
  const std::string page = Write("page.htm", "<title>Old</title>Text");
  viewer_->LoadFromFile(page);
  Write("page.htm", "<title>New</title>Text");
  viewer_->LoadFromFile(page);
  EXPECT_THAT(TopNames(), ::testing::ElementsAre("page.htm"));
  EXPECT_EQ(viewer_->History().front().Title, "New");
  EXPECT_FALSE(viewer_->BackButtonEnabled());
}

}  // namespace
}  // namespace tessival::viewer
