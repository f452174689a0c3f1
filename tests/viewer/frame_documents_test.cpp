// What the frame viewer makes of the documents it is given: picture and text files by
// their own loaders, the document shown read again into its own set, and the character
// set a frame-set document declares.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "frame_viewer_fixture.h"
#include "viewer/page_viewer.h"

namespace tessival::viewer {
namespace {

using testing::FrameViewerTest;
namespace fs = std::filesystem;

class FrameDocumentsTest : public FrameViewerTest {
 protected:
  std::string Picture(const std::string& name) {
    const fs::path path = dir_ / name;
    fs::copy_file(fs::path(TESSIVAL_TEST_DATA_DIR) / "sun.bmp", path);
    return path.string();
  }
};

TEST_F(FrameDocumentsTest, PicturesAndTextFilesAreShownByTheirOwnLoaders) {
  // Text that looks like a frame set stays text.
  viewer_->LoadFromFile(Write("notes.TXT", "<frameset cols=*,*><frame src=a.htm></frameset>"));
  ASSERT_EQ(viewer_->ViewerCount(), 1);
  EXPECT_EQ(viewer_->CurrentViewer()->DocumentKind(), dkText);
  EXPECT_THAT(AllText(*viewer_->CurrentViewer()), ::testing::HasSubstr("<frameset"));

  viewer_->LoadFromFile(Picture("sun.bmp"));
  EXPECT_EQ(viewer_->CurrentViewer()->DocumentKind(), dkImage);
  EXPECT_EQ(viewer_->TopSet().DocumentName(), (dir_ / "sun.bmp").string());

  Picture("photo.JPEG");
  Write("readme.txt", "read me");
  viewer_->LoadFromFile(Write("set.htm",
                              "<frameset cols=*,*,*><frame src=photo.JPEG><frame src=readme.txt>"
                              "<frame name=main src=readme.txt></frameset>"));
  EXPECT_EQ(Frame(0).Viewer()->DocumentKind(), dkImage);
  EXPECT_EQ(Frame(1).Viewer()->DocumentKind(), dkText);
  EXPECT_EQ(AllText(*Frame(1).Viewer()), "read me");
  // A link from a frame to a picture, and a frame reloaded, keep the loaders.
  bool handled = false;
  viewer_->HotSpotClick(*Frame(1).Viewer(), "sun.bmp", handled);
  EXPECT_EQ(Frame(1).Viewer()->DocumentKind(), dkImage);
  viewer_->Reload();
  EXPECT_EQ(Frame(1).Viewer()->DocumentKind(), dkImage);
  EXPECT_EQ(Frame(2).Viewer()->DocumentKind(), dkText);
}

TEST_F(FrameDocumentsTest, WithRequestEventsPictureAndTextNamesAreReadAsPages) {
  std::vector<std::string> asked;
  viewer_->OnFileRequest = [&](const std::string& src, std::string&) { asked.push_back(src); };
  const std::string notes = Write("notes.txt", "<b>bold</b>");
  viewer_->LoadFromFile(notes);
  EXPECT_EQ(viewer_->CurrentViewer()->DocumentKind(), dkHtml);
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "bold");
  EXPECT_THAT(asked, ::testing::Contains(notes));
}

TEST_F(FrameDocumentsTest, TheDocumentShownIsReadAgainIntoItsOwnSet) {
  const std::string page = Write("answer.htm", "<title>One</title><p>first answer");
  viewer_->LoadFromFile(page);
  TFrameSet* set = &viewer_->TopSet();
  Write("answer.htm", "<title>Two</title><p>second answer");
  viewer_->LoadFromFile(page);
  EXPECT_EQ(&viewer_->TopSet(), set);
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "second answer");
  EXPECT_EQ(viewer_->DocumentTitle(), "Two");
  // It may turn into a frame set as well.
  Write("a.htm", "A");
  Write("answer.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  viewer_->LoadFromFile(page);
  EXPECT_EQ(&viewer_->TopSet(), set);
  EXPECT_EQ(viewer_->ViewerCount(), 2);
}

TEST_F(FrameDocumentsTest, ALinkToThePageShownReadsItAgainUnderTheClick) {
  const std::string page = Write("a.htm", "<h1><a href=a.htm target=_top>WWWWWWWWWWWW</a></h1>");
  viewer_->LoadFromFile(page);
  TFrameSet* set = &viewer_->TopSet();
  QCoreApplication::processEvents();
  ClickWithMouse(*viewer_->CurrentViewer(), QPoint(40, 30));
  // The viewer that was clicked goes only once its click has been handled.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(&viewer_->TopSet(), set);
  EXPECT_EQ(viewer_->ViewerCount(), 1);
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "WWWWWWWWWWWW");
}

TEST_F(FrameDocumentsTest, FramesTakeTheCharacterSetTheirFrameSetDocumentDeclares) {
  Write("a.htm", "A");
  Write("inner.htm", "<frameset rows=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  viewer_->LoadFromFile(Write("set.htm",
                              "<head><meta http-equiv=Content-Type "
                              "content=\"text/html; charset=windows-1251\"></head>"
                              "<frameset cols=*,*><frame src=a.htm><frame src=inner.htm></frameset>"));
  EXPECT_EQ(viewer_->TopSet().CharSet(), 204);
  EXPECT_EQ(Frame(0).Viewer()->CharSet(), 204);
  ASSERT_NE(Frame(1).FrameSet(), nullptr);
  EXPECT_EQ(Frame(1).FrameSet()->CharSet(), 204);
  for (int i = 0; i < viewer_->ViewerCount(); ++i) EXPECT_EQ(viewer_->ViewerAt(i)->CharSet(), 204);

  // A document that declares nothing leaves the frame viewer's own set.
  viewer_->LoadFromFile(
      Write("plain.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>"));
  EXPECT_EQ(Frame(0).Viewer()->CharSet(), viewer_->CharSet);
}

TEST_F(FrameDocumentsTest, ViewersAreNamedByTheSidesTheyTouch) {
  Write("a.htm", "A");
  viewer_->LoadFromFile(Write("grid.htm",
                              "<frameset rows=*,*><frameset cols=*,*><frame src=a.htm><frame src=a.htm>"
                              "</frameset><frameset cols=*,*,*><frame src=a.htm><frame src=a.htm>"
                              "<frame></frameset></frameset>"));
  std::vector<std::string> codes;
  for (const TViewerPlace& place : viewer_->ViewerPlaces()) codes.push_back(place.Code);
  // The empty frame has no viewer and is left out.
  EXPECT_THAT(codes, ::testing::ElementsAre("lt", "tr", "lb", "b"));
}

TEST_F(FrameDocumentsTest, SettingsChangedLaterReachEveryViewerShown) {
  Write("a.htm", "A");
  viewer_->LoadFromFile(
      Write("set.htm", "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>"));
  viewer_->SetViewImages(false);
  viewer_->SetDefFontSize(20);
  viewer_->SetServerRoot("file:///srv/pages/");
  for (int i = 0; i < viewer_->ViewerCount(); ++i) {
    EXPECT_FALSE(viewer_->ViewerAt(i)->ViewImages());
    EXPECT_EQ(viewer_->ViewerAt(i)->DefFontSize(), 20);
    EXPECT_EQ(viewer_->ViewerAt(i)->ServerRoot(), "/srv/pages");
  }
  EXPECT_EQ(viewer_->ServerRoot, "/srv/pages");
}

}  // namespace
}  // namespace tessival::viewer

namespace tessival::viewer {
namespace {

TEST_F(FrameDocumentsTest, FrameSourcesFollowTheDocumentsBaseAndTheServerRoot) {
  Write("lib/a.htm", "<p>From the base");
  Write("root/r.htm", "<p>From the root");
  const std::string base = "file://" + (dir_ / "lib").string() + "/";
  viewer_->SetServerRoot((dir_ / "root").string());
  viewer_->LoadFromFile(Write("set.htm", "<head><base href=\"" + base +
                                             "\"></head><frameset cols=*,*><frame src=a.htm>"
                                             "<frame src=/r.htm></frameset>"));
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  EXPECT_EQ(Frame(0).FrameSource(), (dir_ / "lib/a.htm").string());
  EXPECT_EQ(AllText(*Frame(0).Viewer()), "From the base");
  EXPECT_EQ(Frame(1).FrameSource(), (dir_ / "root/r.htm").string());
  EXPECT_EQ(AllText(*Frame(1).Viewer()), "From the root");
}

TEST_F(FrameDocumentsTest, ALinkWithAQueryThatReplacesTheOnlyPageIsRememberedWithItsQuery) {
  Write("b.htm", "<p>Second page");
  viewer_->LoadFromFile(Write("a.htm", "<a href=b.htm>go</a>"));
  bool handled = false;
  viewer_->HotSpotClick(*viewer_->CurrentViewer(), "b.htm?q=1", handled);
  EXPECT_EQ(AllText(*viewer_->CurrentViewer()), "Second page");
  EXPECT_THAT(viewer_->VisitedList(), ::testing::Contains((dir_ / "b.htm?q=1").string()));
}

}  // namespace
}  // namespace tessival::viewer
