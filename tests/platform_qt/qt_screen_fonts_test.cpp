#include "platform/qt/qt_screen_fonts.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "platform/screen_fonts.h"

namespace tessival::platform {
namespace {

TEST(QtScreenFonts, FillsTheScreenDescriptionFromTheToolkit) {
  // The suite's one application object is there (gui_application.cpp).
  ASSERT_NE(QGuiApplication::instance(), nullptr);
  InstallQtScreenFonts();
  EXPECT_TRUE(IsScreenFontInstalled("times new roman"));
  EXPECT_GT(ScreenPixelsPerInch(), 0);
  const ScreenFontMetrics metrics = MeasureScreenFont({"Arial", 12, false, false, 0});
  EXPECT_GT(metrics.em_height_px, 8);
  EXPECT_LT(metrics.em_height_px, 40);
  SetScreenFontMeasurer({});
  SetScreenPixelsPerInch(DefaultPixelsPerInch);
}

TEST(QtScreenFonts, AFontMeasuredBeforeIsMeasuredAgainAtAnotherScreenResolution) {
  InstallQtScreenFonts();
  SetScreenPixelsPerInch(96);
  const int at_96 = MeasureScreenFont({"Arial", 24, true, false, 0}).em_height_px;
  EXPECT_EQ(MeasureScreenFont({"Arial", 24, true, false, 0}).em_height_px, at_96);
  SetScreenPixelsPerInch(192);
  const int at_192 = MeasureScreenFont({"Arial", 24, true, false, 0}).em_height_px;
  EXPECT_GT(at_192, at_96 * 3 / 2);
  // The character set asked for is handed back whichever was asked first.
  EXPECT_EQ(MeasureScreenFont({"Arial", 24, true, false, 161}).obtained_charset, 161);
  SetScreenFontMeasurer({});
  SetScreenPixelsPerInch(DefaultPixelsPerInch);
}

}  // namespace
}  // namespace tessival::platform
