#include "platform/qt/font_config_preload.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <cstdlib>
#include <memory>

#include "platform/qt/qt_screen_fonts.h"
#include "platform/screen_fonts.h"

namespace tessival::platform {
namespace {

// What the program's start does: the configuration read on the thread, then the toolkit's
// font database filled from it on this one. Run in a process of its own, so the thread's
// reading is the first in the process, as it is in the program.
void StartLikeTheProgramAndCheckTheFonts() {
  FontConfigPreload font_config;
  font_config.Wait();
  InstallQtScreenFonts();
  const QStringList families = QFontDatabase::families();
  if (!families.contains(QStringLiteral("Liberation Sans"))) std::exit(2);
  if (!IsScreenFontInstalled("times new roman")) std::exit(3);
  QFont serif(QStringLiteral("Liberation Serif"));
  serif.setPixelSize(16);
  if (QFontInfo(serif).family() != QStringLiteral("Liberation Serif")) std::exit(4);
  if (MeasureScreenFont({"Times New Roman", 12, false, false, 0}).em_height_px < 8) std::exit(5);
  std::exit(0);
}

TEST(FontConfigPreload, TheToolkitFindsTheFontsOfAConfigurationReadOnTheThread) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, not a fork of this one
  EXPECT_EXIT(StartLikeTheProgramAndCheckTheFonts(), ::testing::ExitedWithCode(0), "");
}

TEST(FontConfigPreload, ThreadIsWaitedForHoweverTheStartEnds) {
  // Gone without a wait (the start threw) or waited for twice: neither ends the program.
  { const FontConfigPreload unwaited; }
  auto waited = std::make_unique<FontConfigPreload>();
  waited->Wait();
  waited->Wait();
  waited.reset();
  EXPECT_FALSE(QFontDatabase::families().isEmpty());
}

}  // namespace
}  // namespace tessival::platform
