// The settings every viewer of a frame viewer takes: the value given to a viewer in one
// step, and reaching the viewers of every document and frame the frame viewer builds.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame_viewer_fixture.h"
#include "viewer/page_viewer.h"
#include "viewer/viewer_settings.h"

namespace tessival::viewer {
namespace {

using testing::FrameViewerTest;

// One setting changed from its default, and how a viewer shows that it took it.
struct SettingCase {
  const char* name;
  std::function<void(TViewerSettings&)> change;
  std::function<bool(const TPageViewer&)> taken;
};

std::vector<SettingCase> SettingCases() {
  return {
      {"fonts",
       [](TViewerSettings& s) {
         s.DefFontName = "Sans";
         s.DefPreFontName = "Mono";
         s.DefFontSize = 17;
       },
       [](const TPageViewer& v) {
         return v.DefFontName() == "Sans" && v.DefPreFontName() == "Mono" && v.DefFontSize() == 17;
       }},
      {"colours",
       [](TViewerSettings& s) {
         s.DefFontColor = 0x010203;
         s.DefHotSpotColor = 0x040506;
         s.DefVisitedLinkColor = 0x070809;
         s.DefOverLinkColor = 0x0A0B0C;
       },
       [](const TPageViewer& v) {
         return v.DefFontColor() == 0x010203 && v.DefHotSpotColor() == 0x040506 &&
                v.DefVisitedLinkColor() == 0x070809 && v.DefOverLinkColor() == 0x0A0B0C;
       }},
      {"pictures and selection",
       [](TViewerSettings& s) {
         s.ViewImages = false;
         s.ImageCacheCount = 7;
         s.NoSelect = true;
       },
       [](const TPageViewer& v) { return !v.ViewImages() && v.ImageCacheCount() == 7 && v.NoSelect(); }},
      {"history, cursor and root",
       [](TViewerSettings& s) {
         s.HistoryMaxCount = 4;
         s.Cursor = crArrow;
         s.ServerRoot = "/srv";
       },
       [](const TPageViewer& v) {
         return v.HistoryMaxCount() == 4 && v.Cursor() == crArrow && v.ServerRoot() == "/srv";
       }},
      {"print margins",
       [](TViewerSettings& s) {
         s.PrintMarginLeft = 1.5;
         s.PrintMarginBottom = 3.5;
       },
       [](const TPageViewer& v) { return v.PrintMarginLeft == 1.5 && v.PrintMarginBottom == 3.5; }},
      {"handlers",
       [](TViewerSettings& s) {
         s.OnLink = [](auto&&...) {};
         s.OnMeta = [](auto&&...) {};
       },
       [](const TPageViewer& v) { return v.OnLink && v.OnMeta; }},
  };
}

class ViewerSettingsTest : public FrameViewerTest {};

TEST_F(ViewerSettingsTest, EverySettingReachesAViewerInOneStepAndEveryViewerOfAFrameSet) {
  Write("a.htm", "A");
  const std::string set = Write("set.htm",
                                "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>");
  for (const SettingCase& setting : SettingCases()) {
    SCOPED_TRACE(setting.name);
    TViewerSettings value;
    setting.change(value);
    TPageViewer lone;
    value.ApplyTo(lone);
    EXPECT_TRUE(setting.taken(lone));

    setting.change(*viewer_);
    viewer_->LoadFromFile(set);
    ASSERT_EQ(viewer_->ViewerCount(), 2);
    for (int i = 0; i < viewer_->ViewerCount(); ++i) EXPECT_TRUE(setting.taken(*viewer_->ViewerAt(i)));
  }
}

TEST_F(ViewerSettingsTest, OptionsSetBeforeALoadReachTheViewersOfEveryDocument) {
  viewer_->SetfvOptions(fvNoLinkUnderline | fvOverLinksActive | fvShowVScroll);
  Write("a.htm", "A");
  const ThtOptions expected = htNoLinkUnderline | htOverLinksActive | htShowVScroll;
  for (const char* name : {"one.htm", "two.htm"}) {
    viewer_->LoadFromFile(
        Write(name, "<frameset cols=*,*><frame src=a.htm><frame src=a.htm></frameset>"));
    for (int i = 0; i < viewer_->ViewerCount(); ++i)
      EXPECT_EQ(viewer_->ViewerAt(i)->htOptions(), expected);
  }
}

TEST_F(ViewerSettingsTest, AFramesMarginsAreItsOwnElseTheFrameViewers) {
  viewer_->MarginWidth = 7;
  viewer_->MarginHeight = 8;
  Write("a.htm", "A");
  viewer_->LoadFromFile(Write(
      "set.htm",
      "<frameset cols=*,*><frame src=a.htm marginwidth=3 marginheight=4><frame src=a.htm></frameset>"));
  ASSERT_EQ(viewer_->ViewerCount(), 2);
  EXPECT_EQ(Frame(0).Viewer()->MarginWidth(), 3);
  EXPECT_EQ(Frame(0).Viewer()->MarginHeight(), 4);
  EXPECT_EQ(Frame(1).Viewer()->MarginWidth(), 7);
  EXPECT_EQ(Frame(1).Viewer()->MarginHeight(), 8);
}

TEST_F(ViewerSettingsTest, TheTopBevelAFrameSetAsksForStaysWhenItIsReadAgain) {
  Write("a.htm", "A");
  const std::string set =
      Write("set.htm", "<frameset cols=*,* border=1><frame src=a.htm><frame src=a.htm></frameset>");
  viewer_->LoadFromFile(set);
  EXPECT_EQ(viewer_->TopSet().OuterBorder(), 1);
  viewer_->LoadFromFile(set);
  EXPECT_EQ(viewer_->TopSet().OuterBorder(), 1);
}

}  // namespace
}  // namespace tessival::viewer
