// How often a page shown in the frame viewer is laid out: once per load, again only when
// the space it has changes.
#include <QTest>
#include <string>

#include "frame_viewer_fixture.h"

namespace tessival::viewer {
namespace {

class FrameRelayoutTest : public testing::FrameViewerTest {
 protected:
  // A page long enough that its height depends on the width it is laid out at.
  std::string LongPage() {
    std::string text = "<title>Lang</title>";
    for (int i = 0; i < 40; ++i) {
      text += "<p>Ein Absatz mit einigen W\xF6rtern, die umbrechen m\xFCssen.";
    }
    return Write("long.htm", text);
  }
  // Each layout of a viewer starts with progress stage 0 at 0 %.
  void CountLayouts() {
    viewer_->OnProgress = [this](int stage, int percent) {
      if (stage == 0 && percent == 0) ++layouts_;
    };
  }
  int layouts_ = 0;
};

TEST_F(FrameRelayoutTest, APageShownInAFreshFrameSetIsLaidOutOnce) {
  CountLayouts();
  viewer_->LoadFromFile(LongPage());
  QCoreApplication::processEvents();
  EXPECT_EQ(layouts_, 1);
  // A second page replaces the set and is laid out once as well.
  viewer_->LoadFromFile(Write("other.htm", "<p>Zweite Seite"));
  QCoreApplication::processEvents();
  EXPECT_EQ(layouts_, 2);
}

TEST_F(FrameRelayoutTest, ANewWidthLaysThePageOutAgainAndTheSameSizeDoesNot) {
  CountLayouts();
  viewer_->LoadFromFile(LongPage());
  TPageViewer& page = *viewer_->CurrentViewer();
  const int wide_height = page.DocHeight();
  viewer_->resize(200, 404);
  QCoreApplication::processEvents();
  EXPECT_EQ(layouts_, 2);
  EXPECT_GT(page.DocHeight(), wide_height);
  viewer_->resize(200, 404);
  QCoreApplication::processEvents();
  EXPECT_EQ(layouts_, 2);
  viewer_->resize(404, 404);
  QCoreApplication::processEvents();
  EXPECT_EQ(layouts_, 3);
  EXPECT_EQ(page.DocHeight(), wide_height);
}

}  // namespace
}  // namespace tessival::viewer
