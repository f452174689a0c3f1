// What the frame viewer hands to every viewer it makes and what it passes on from them:
// the one image cache, the cursor, key and focus events, background sounds across an
// unload, names resolved without a base, and the title of a frame-set file in the set it
// declares.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QVBoxLayout>

#include "frame_viewer_fixture.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"
#include "viewer/scroll_bar_32.h"

namespace tessival::viewer {
namespace {

using testing::FrameViewerTest;
namespace fs = std::filesystem;

class FrameEventsTest : public FrameViewerTest {
 protected:
  static bool SendKey(QWidget& widget, QEvent::Type type, int key) {
    QKeyEvent event(type, key, Qt::NoModifier);
    return QCoreApplication::sendEvent(&widget, &event);
  }
  // A drag of `data` arriving at, moving over or dropped on the viewer's page; true when
  // the page takes it.
  static bool Drag(TPageViewer& viewer, QEvent::Type type, QPoint at, const QMimeData& data) {
    QWidget& panel = viewer.PaintPanel();
    if (type == QEvent::DragEnter) {
      QDragEnterEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&panel, &event);
      return event.isAccepted();
    }
    QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&panel, &event);
    return event.isAccepted();
  }
  // Loads `file` as the top document and lets the set it replaced go.
  void Show(const std::string& file) {
    viewer_->LoadFromFile(file);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(FrameEventsTest, EveryViewerUsesTheOneImageCacheSoAPictureIsDecodedOnce) {
  fs::copy_file(fs::path(TESSIVAL_TEST_DATA_DIR) / "sun.bmp", dir_ / "sun.bmp");
  Write("pic.htm", "<p><img src=sun.bmp> sun");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*><frame src=pic.htm><frame src=pic.htm></frameset>"));
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  EXPECT_EQ(&viewer_->ViewerAt(0)->ImageCache(), &viewer_->ImageCache());
  EXPECT_EQ(&viewer_->ViewerAt(1)->ImageCache(), &viewer_->ImageCache());
  EXPECT_EQ(viewer_->ViewerAt(0)->Document().Images.Decodes +
                viewer_->ViewerAt(1)->Document().Images.Decodes,
            1);
  EXPECT_EQ(viewer_->ImageCache().Count(), 1);
  // The viewers give their pictures back as the frame viewer goes (checked under ASan).
  viewer_.reset();
}

TEST_F(FrameEventsTest, ImageCacheCountIsHowManyDocumentsAPictureNoPageShowsIsKeptFor) {
  fs::copy_file(fs::path(TESSIVAL_TEST_DATA_DIR) / "sun.bmp", dir_ / "sun.bmp");
  const std::string pictured = Write("pic.htm", "<p><img src=sun.bmp> sun");
  const std::string first = Write("first.htm", "<p>First");
  const std::string second = Write("second.htm", "<p>Second");

  viewer_->SetImageCacheCount(1);
  Show(pictured);
  Show(first);
  EXPECT_EQ(viewer_->ImageCache().Count(), 1);  // one document later: kept
  Show(second);
  EXPECT_EQ(viewer_->ImageCache().Count(), 0);

  viewer_->SetImageCacheCount(3);
  Show(pictured);
  Show(first);
  Show(second);
  Show(pictured);
  EXPECT_EQ(viewer_->CurrentViewer()->Document().Images.Decodes, 0);  // found again
  // Lowering the count lets go at once of what is older than the new count.
  Show(first);
  viewer_->SetImageCacheCount(0);
  EXPECT_EQ(viewer_->ImageCache().Count(), 0);
  viewer_->SetImageCacheCount(50);
  EXPECT_EQ(viewer_->ImageCacheCount, 20);
  EXPECT_EQ(viewer_->ImageCache().MaxAge(), 20);
}

TEST_F(FrameEventsTest, DragsReachTheHostThroughTheFrameViewerWithTheViewerAsSender) {
  Write("a.htm", "<p>Drop here");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>"));
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  TPageViewer& right = *viewer_->ViewerAt(1);
  QMimeData data;
  data.setText("dragged words");
  // Without a handler of the host's, nothing is dropped on a page.
  EXPECT_FALSE(Drag(right, QEvent::DragEnter, QPoint(10, 10), data));

  // Handlers set after the viewers were made are asked all the same.
  std::vector<std::string> seen;
  viewer_->OnDragOver = [&](TPageViewer& sender, const TDragSource& source, int x, int y,
                            TDragState state, bool& accept) {
    EXPECT_EQ(source.Data, &data);
    seen.push_back((&sender == &right ? "over right " : "over elsewhere ") + std::to_string(x) + "," +
                   std::to_string(y) + (state == dsDragEnter ? " enter" : ""));
    accept = true;
  };
  viewer_->OnDragDrop = [&](TPageViewer& sender, const TDragSource&, int x, int y) {
    seen.push_back((&sender == &right ? "drop right " : "drop elsewhere ") + std::to_string(x) + "," +
                   std::to_string(y));
  };
  EXPECT_TRUE(Drag(right, QEvent::DragEnter, QPoint(12, 15), data));
  EXPECT_TRUE(Drag(right, QEvent::Drop, QPoint(13, 16), data));
  EXPECT_THAT(seen, ::testing::ElementsAre("over right 12,15 enter", "drop right 13,16"));
}

TEST_F(FrameEventsTest, TheCursorOverTextIsTheFrameViewersAndSurvivesLayout) {
  viewer_->Cursor = crArrow;
  viewer_->LoadFromFile(Write("page.htm", "<p>Some text"));
  TPageViewer& page = *viewer_->CurrentViewer();
  EXPECT_EQ(page.Cursor(), crArrow);
  page.resize(page.width() - 20, page.height());
  QCoreApplication::processEvents();
  EXPECT_EQ(page.Cursor(), crArrow);
}

TEST_F(FrameEventsTest, KeysReachTheHostWithTheViewerAsSenderBeforeTheViewer) {
  std::string tall;
  for (int line = 0; line < 200; ++line) tall += "<p>line\n";
  viewer_->LoadFromFile(Write("tall.htm", tall));
  TPageViewer& page = *viewer_->CurrentViewer();
  std::vector<std::string> seen;
  bool swallow = true;
  viewer_->OnKeyDown = [&](TPageViewer& sender, int& key, Qt::KeyboardModifiers) {
    seen.push_back((&sender == &page ? "down " : "down elsewhere ") + std::to_string(key));
    if (swallow) key = 0;
  };
  viewer_->OnKeyUp = [&](TPageViewer& sender, int& key, Qt::KeyboardModifiers) {
    seen.push_back((&sender == &page ? "up " : "up elsewhere ") + std::to_string(key));
  };
  // A key the host takes never scrolls the page.
  SendKey(page, QEvent::KeyPress, Qt::Key_Down);
  SendKey(page, QEvent::KeyRelease, Qt::Key_Down);
  EXPECT_EQ(page.VScrollBarPosition(), 0);
  swallow = false;
  SendKey(page, QEvent::KeyPress, Qt::Key_Down);
  EXPECT_GT(page.VScrollBarPosition(), 0);
  EXPECT_THAT(seen, ::testing::ElementsAre("down " + std::to_string(Qt::Key_Down),
                                           "up " + std::to_string(Qt::Key_Down),
                                           "down " + std::to_string(Qt::Key_Down)));
}

TEST_F(FrameEventsTest, MouseEventsNameTheViewerOrTheEmptyFrameTheyCameFrom) {
  std::vector<const QWidget*> senders;
  viewer_->OnMouseDown = [&](QWidget& sender, Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
    senders.push_back(&sender);
  };
  Write("a.htm", "A");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*,*><frame src=a.htm><frame src=a.htm><frame></frameset>"));
  Mouse(viewer_->ViewerAt(1)->PaintPanel(), QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
  Mouse(viewer_->ViewerAt(1)->PaintPanel(), QEvent::MouseButtonRelease, QPoint(20, 20), Qt::LeftButton);
  Mouse(Frame(2), QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton);
  EXPECT_THAT(senders, ::testing::ElementsAre(viewer_->ViewerAt(1), &Frame(2)));
}

TEST_F(FrameEventsTest, EnterAndExitFireWhenTheFocusCrossesTheFrameViewersEdge) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);  // owned by the window
  auto* edit = new QLineEdit(&window);
  auto* frames = new TFrameViewer(&window);
  layout->addWidget(edit);
  layout->addWidget(frames);
  window.resize(300, 400);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  Write("a.htm", "A");
  frames->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>"));
  std::vector<std::string> seen;
  frames->OnEnter = [&] { seen.emplace_back("enter"); };
  frames->OnExit = [&] { seen.emplace_back("exit"); };
  edit->setFocus();
  frames->ViewerAt(0)->setFocus();
  // From frame to frame the focus stays inside.
  frames->ViewerAt(1)->setFocus();
  EXPECT_EQ(frames->CurrentViewer(), frames->ViewerAt(1));
  edit->setFocus();
  EXPECT_THAT(seen, ::testing::ElementsAre("enter", "exit"));
}

TEST_F(FrameEventsTest, AReloadedPageAsksForItsBackgroundSoundAgain) {
  std::vector<std::string> sounds;
  viewer_->OnSoundRequest = [&](const std::string& src, int loop, bool terminate) {
    sounds.push_back(src + " " + std::to_string(loop) + (terminate ? " stop" : ""));
  };
  Write("a.htm", "<bgsound src=tune.mid><p>A");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>"));
  ASSERT_THAT(sounds, ::testing::Contains(::testing::EndsWith("tune.mid 1")));
  // Unloaded, the pages only stop sounds and keep none for themselves.
  sounds.clear();
  viewer_->TopSet().UnloadFiles();
  EXPECT_EQ(viewer_->ViewerAt(0)->OnSoundRequest, nullptr);
  EXPECT_THAT(sounds, ::testing::Each(" 0 stop"));
  sounds.clear();
  viewer_->TopSet().ReloadFiles();
  EXPECT_THAT(sounds, ::testing::Contains(::testing::EndsWith("tune.mid 1")));
}

TEST_F(FrameEventsTest, NamesWithoutABaseBelongBesideTheDocumentShown) {
  // Nothing shown: beside the top document, which is none yet, so the working directory.
  EXPECT_EQ(viewer_->ExpandSourceName("x.htm"), (fs::current_path() / "x.htm").string());
  viewer_->LoadFromFile(Write("sub/page.htm", "<p>Page"));
  EXPECT_EQ(viewer_->ExpandSourceName("x.htm"), (dir_ / "sub/x.htm").string());
  EXPECT_EQ(viewer_->ExpandSourceName("../y.htm"), (dir_ / "y.htm").string());
  viewer_->LoadFromFile(Write("based.htm", "<base href=\"file:///elsewhere/\"><p>Based"));
  EXPECT_EQ(viewer_->ExpandSourceName("x.htm"), "/elsewhere/x.htm");
}

TEST_F(FrameEventsTest, ARelativeTopDocumentIsTheFileFoundNotOneBesideThePageShown) {
  Write("sub/page.htm", "<p>Inner page");
  Write("page.htm", "<p>Outer page");
  viewer_->LoadFromFile((dir_ / "sub/page.htm").string());
  const fs::path was = fs::current_path();
  fs::current_path(dir_);
  viewer_->LoadFromFile("page.htm");
  fs::current_path(was);
  EXPECT_EQ(viewer_->TopSet().DocumentName(), (dir_ / "page.htm").string());
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "Outer page");
}

TEST_F(FrameEventsTest, AFrameSetsTitleIsReadInTheSetItDeclaresLikeAPages) {
  const std::string head = "<head><meta charset=utf-8><title>W\xC3\xB6rterbuch</title></head>";
  viewer_->LoadFromFile(Write("page.htm", head + "<p>Page"));
  const std::string page_title = viewer_->DocumentTitle();
  Write("a.htm", "A");
  viewer_->LoadFromFile(Write("set.htm", head + "<frameset cols=*><frame src=a.htm></frameset>"));
  EXPECT_EQ(viewer_->DocumentTitle(), "W\xF6rterbuch");
  EXPECT_EQ(viewer_->DocumentTitle(), page_title);
}

}  // namespace
}  // namespace tessival::viewer
