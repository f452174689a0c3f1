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

}  // namespace
}  // namespace tessival::platform
