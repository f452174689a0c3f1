#include "reader/frame_set_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tessival::layout {
namespace {

using ::testing::ElementsAre;

// Records the reader's calls as a flat script: "set(ROWS)", "frame(NAME)", "sub", "end".
class RecordingViewer : public TFrameViewerBase {
 public:
  struct Node : TFrameSetNode {};
  std::vector<std::string> calls;
  std::vector<std::unique_ptr<Node>> nodes;

  void CreateFrame(TFrameSetNode&, const html::TAttributeList& attributes,
                   const std::string& directory) override {
    const html::TAttribute* name = attributes.Find(html::NameSy);
    calls.push_back("frame(" + (name ? name->StrValue : std::string()) + ")" +
                    (directory.empty() ? "" : " in " + directory));
  }
  TFrameSetNode& CreateSubFrameSet(TFrameSetNode&) override {
    calls.emplace_back("sub");
    nodes.push_back(std::make_unique<Node>());
    return *nodes.back();
  }
  void ApplyFrameSetAttributes(TFrameSetNode&, const html::TAttributeList& attributes) override {
    const html::TAttribute* rows = attributes.Find(html::RowsSy);
    const html::TAttribute* cols = attributes.Find(html::ColsSy);
    calls.push_back("set(" + (rows ? "rows " + rows->StrValue : std::string()) +
                    (cols ? "cols " + cols->StrValue : std::string()) + ")");
  }
  void FinishFrameSet(TFrameSetNode&) override { calls.emplace_back("end"); }
};

TEST(FrameSetReaderTest, NestedSetsAndFramesAreReportedInDocumentOrder) {
  const std::string text =
      "<html><head><title>Two panes</title><base href=\"http://host/dir/\" target=\"main\">"
      "<script>document.write('<frameset>')</script></head>"
      "<frameset rows=\"20%,*\"><frame name=top src=top.htm>"
      "<noframes><frame name=hidden></noframes>"
      "<frameset cols=\"*,*\"><frame name=left><frame name=right></frameset>"
      "</frameset><body><frame name=late>";
  RecordingViewer viewer;
  RecordingViewer::Node top;
  std::vector<std::string> scripts;
  TFrameSetHandlers handlers;
  handlers.OnScript = [&](const std::string&, const std::string&, const std::string& script) {
    scripts.push_back(script);
  };
  const TFrameSetHead head = ParseFrameSet(TFrameSetSource::FromText(text), viewer, top, "/pages",
                                           handlers);
  EXPECT_THAT(viewer.calls,
              ElementsAre("set(rows 20%,*)", "frame(top) in /pages", "sub", "set(cols *,*)",
                          "frame(left) in /pages", "frame(right) in /pages", "end", "end"));
  EXPECT_EQ(head.Title, "Two panes");
  EXPECT_EQ(head.Base, "http://host/dir/");
  EXPECT_EQ(head.BaseTarget, "main");
  EXPECT_THAT(scripts, ElementsAre("document.write('<frameset>')"));
}

TEST(FrameSetReaderTest, AnUnclosedSetIsFinishedAtTheEndAndMetaGoesToItsHandler) {
  RecordingViewer viewer;
  RecordingViewer::Node top;
  std::vector<std::string> metas;
  TFrameSetHandlers handlers;
  handlers.OnMeta = [&](const std::string& http_eq, const std::string&, const std::string& content) {
    metas.push_back(http_eq + "=" + content);
  };
  ParseFrameSet(TFrameSetSource::FromText("<meta http-equiv=refresh content=5><frameset><frame name=a"),
                viewer, top, {}, handlers);
  EXPECT_THAT(viewer.calls, ElementsAre("set()", "frame(a)", "end"));
  EXPECT_THAT(metas, ElementsAre("refresh=5"));
}

TEST(FrameSetReaderTest, HostileNestingEndsWithoutExhaustingTheStack) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "<frameset>";
  RecordingViewer viewer;
  RecordingViewer::Node top;
  ParseFrameSet(TFrameSetSource::FromText(text), viewer, top, {});
  EXPECT_LT(viewer.nodes.size(), 100u);
}

TEST(FrameSetReaderTest, AFrameSetBeforeBodyContentMakesAFrameDocumentFromEverySource) {
  const std::string frames =
      "<html><head><script>x='<p>'</script></head>\r\n<frameset cols=*,*></frameset>";
  EXPECT_TRUE(IsFrameDocument(TFrameSetSource::FromText(frames)));
  EXPECT_TRUE(IsFrameDocument(TFrameSetSource::FromBuffer(frames.data(), frames.size())));
  EXPECT_TRUE(IsFrameDocument(TFrameSetSource::FromStrings({"<title>x</title>", "<frameset>"})));
  platform::TMemoryStream stream;
  stream.WriteBuffer(frames.data(), frames.size());
  EXPECT_TRUE(IsFrameDocument(TFrameSetSource::FromStream(stream)));
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     "tessival_frames_probe.htm";
  std::ofstream(file) << frames;
  EXPECT_TRUE(IsFrameDocument(TFrameSetSource::FromFile(file.string())));
  std::filesystem::remove(file);

  EXPECT_FALSE(IsFrameDocument(TFrameSetSource::FromText("<p>Text<frameset>")));
  EXPECT_FALSE(IsFrameDocument(TFrameSetSource::FromText("<table><frameset>")));
  EXPECT_FALSE(IsFrameDocument(TFrameSetSource::FromText("<!-- <frameset> never closed")));
  EXPECT_FALSE(IsFrameDocument(TFrameSetSource::FromText("")));
  EXPECT_THROW(TFrameSetSource::FromFile("/nonexistent/x.htm"), platform::EStreamError);
}

}  // namespace
}  // namespace tessival::layout
