#include "platform/screen_fonts.h"

#include <gtest/gtest.h>

namespace tessival::platform {
namespace {

TEST(ScreenFonts, ListAndMeasurerCanBeReplacedAndRestored) {
  EXPECT_TRUE(IsScreenFontInstalled("COURIER NEW"));
  EXPECT_EQ(MeasureScreenFont({"Arial", 12, false, false, 0}).em_height_px, 16);
  EXPECT_EQ(MeasureScreenFont({"Arial", 9, false, false, 204}).obtained_charset, 204);

  // A copy: the list it refers to is replaced below.
  const auto saved = InstalledScreenFonts();  // NOLINT(performance-unnecessary-copy-initialization)
  SetInstalledScreenFonts({"Only"});
  EXPECT_FALSE(IsScreenFontInstalled("Arial"));
  EXPECT_TRUE(IsScreenFontInstalled("only"));
  SetInstalledScreenFonts(saved);

  SetScreenFontMeasurer([](const ScreenFontRequest&) { return ScreenFontMetrics{7, 0}; });
  EXPECT_EQ(MeasureScreenFont({"Arial", 12, false, false, 1}).em_height_px, 7);
  SetScreenFontMeasurer({});
  SetScreenPixelsPerInch(0);  // nonsense falls back to the standard screen
  EXPECT_EQ(ScreenPixelsPerInch(), DefaultPixelsPerInch);
}

}  // namespace
}  // namespace tessival::platform
