// The frame viewer asking its host for documents: lines, streams and buffers served in
// place of the files, which host is asked, and the pictures a viewer asks for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "frame_viewer_fixture.h"
#include "platform/stream.h"
#include "viewer/page_viewer.h"

namespace tessival::viewer {
namespace {

using testing::FrameViewerTest;
namespace fs = std::filesystem;

class FrameRequestsTest : public FrameViewerTest {
 protected:
  // Files on disk say "disk"; the host's copies say something else.
  FrameRequestsTest() {
    set_ = Write("set.htm", "<p>disk");
    Write("left.htm", "<p>disk");
    Write("right.htm", "<p>disk");
  }
  std::string Name(const std::string& file) const { return (dir_ / file).string(); }

  std::string set_;
  std::vector<std::string> asked_;
};

TEST_F(FrameRequestsTest, LinesFromTheHostReplaceTheFiles) {
  std::map<std::string, std::vector<std::string>> served = {
      {Name("set.htm"),
       {"<frameset cols=*,*>", "<frame src=left.htm><frame src=right.htm>", "</frameset>"}},
      {"left.htm", {"<p>left from host"}},
  };
  viewer_->OnStringsRequest = [&](const std::string& src, const std::vector<std::string>*& lines) {
    asked_.push_back(src);
    if (const auto found = served.find(src); found != served.end()) lines = &found->second;
  };
  viewer_->LoadFromFile(set_);
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  EXPECT_EQ(viewer_->TopSet().DocumentName(), set_);
  EXPECT_THAT(AllText(*Frame(0).Viewer()), ::testing::StartsWith("left from host"));
  // No lines for the right frame: its own file is read.
  EXPECT_EQ(AllText(*Frame(1).Viewer()), "disk");
  // Frames are asked for by the names the frame set gives.
  EXPECT_THAT(asked_, ::testing::ElementsAre(Name("set.htm"), "left.htm", "right.htm"));
}

TEST_F(FrameRequestsTest, FramesTheHostDoesNotServeAreReadBesideTheirFrameSet) {
  Write("sub/inner.htm", "<p>inner<p><a name=end>end</a>");
  Write("other/page.htm", "<p>elsewhere");
  Write("other/left.htm", "<p>wrong left");
  // The program's own host: asked for every document, it never has one.
  viewer_->OnFileRequest = [&](const std::string& src, std::string&) { asked_.push_back(src); };
  viewer_->LoadFromFile(Name("other/page.htm"));
  asked_.clear();
  // Read while the page of another folder is still shown.
  viewer_->LoadFromFile(
      Write("set.htm",
            "<frameset cols=*,*><frame src=left.htm><frame src=sub/inner.htm#end></frameset>"));
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  EXPECT_THAT(asked_, ::testing::ElementsAre(Name("set.htm"), "left.htm", "sub/inner.htm"));
  EXPECT_EQ(Frame(0).FrameSource(), "left.htm");
  EXPECT_EQ(Frame(1).FrameAnchor(), "end");
  EXPECT_EQ(AllText(*Frame(0).Viewer()), "disk");
  EXPECT_THAT(AllText(*Frame(1).Viewer()), ::testing::StartsWith("inner"));
  // A reload asks again by the same names and finds the same files.
  asked_.clear();
  viewer_->Reload();
  EXPECT_THAT(asked_, ::testing::ElementsAre("left.htm", "sub/inner.htm"));
  EXPECT_EQ(AllText(*Frame(0).Viewer()), "disk");
}

TEST_F(FrameRequestsTest, AStreamIsReadFromItsStartAndItsAnchorIsShown) {
  platform::TMemoryStream stream;
  std::string page;
  for (int i = 0; i < 100; ++i) page += "<p>line " + std::to_string(i);
  page += "<p><a name=end>end</a>";
  stream.Write(page.data(), page.size());  // left at its end, as a host may leave it
  viewer_->OnStreamRequest = [&](const std::string&, platform::TStream*& answer) { answer = &stream; };
  viewer_->OnFileRequest = [&](const std::string& src, std::string&) { asked_.push_back(src); };
  viewer_->LoadFromFile(Name("left.htm") + "#end");
  ASSERT_EQ(viewer_->ViewerCount(), 1);
  EXPECT_THAT(AllText(*viewer_->CurrentViewer()), ::testing::StartsWith("line 0"));
  EXPECT_GT(viewer_->CurrentViewer()->VScrollBarPosition(), 0);
  // Only the first handler the host assigned is asked.
  EXPECT_TRUE(asked_.empty());
}

TEST_F(FrameRequestsTest, ABufferServesAFrameAndAnEmptyOneFallsBackToTheFile) {
  const std::string frames =
      "<frameset rows=*,*><frame name=a src=left.htm><frame src=right.htm></frameset>";
  const std::string left = "<p>buffered";
  viewer_->OnBufferRequest = [&](const std::string& src, const char*& buffer, int& size) {
    if (src == Name("set.htm")) {
      buffer = frames.data();
      size = static_cast<int>(frames.size());
    } else if (src == "left.htm") {
      buffer = left.data();
      size = static_cast<int>(left.size());
    }
  };
  viewer_->LoadFromFile(set_);
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  EXPECT_EQ(AllText(*Frame(0).Viewer()), "buffered");
  EXPECT_EQ(AllText(*Frame(1).Viewer()), "disk");
}

TEST_F(FrameRequestsTest, PicturesComeFromTheHostOnly) {
  std::string data = "unset";
  viewer_->ImageStream(Name("left.htm"), data);
  EXPECT_EQ(data, "unset");  // no host: the viewer reads its pictures itself

  const std::vector<std::string> lines = {"GIF89a"};
  viewer_->OnStringsRequest = [&](const std::string& src, const std::vector<std::string>*& answer) {
    if (src == "pic.gif") answer = &lines;
  };
  viewer_->ImageStream("pic.gif", data);
  EXPECT_EQ(data, "GIF89a\r\n");
  data = "unset";
  viewer_->ImageStream("other.gif", data);
  EXPECT_EQ(data, "unset");

  viewer_->OnStringsRequest = nullptr;
  viewer_->OnFileRequest = [&](const std::string&, std::string& name) { name = Name("right.htm"); };
  viewer_->ImageStream("anything.gif", data);
  EXPECT_EQ(data, "<p>disk");
}

}  // namespace
}  // namespace tessival::viewer
