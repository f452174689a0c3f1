#include <gtest/gtest.h>

#include "html/color_parser.h"
#include "html/style_units.h"
#include "platform/screen_fonts.h"

namespace tessival::html {
namespace {

struct ColorCase {
  const char* text;
  bool needHash;
  std::optional<TColor> expected;
};

TEST(ColorFromString, ReadsEveryFormAndRejectsTheRest) {
  // The table keeps its hand-made columns.
  // clang-format off
  const ColorCase cases[] = {
      {"#f0c", false, 0x02CC00FFu},
      {"f0c", false, 0x02CC00FFu},
      {"f0c", true, std::nullopt},
      {"  #FF8000 ", true, 0x020080FFu},
      {"#0fc0", false, 0x02C00F00u},  // four digits read as 0x000FC0
      {"RGB(100%, 0, 50%)", false, 0x028000FFu},
      {"rgb(300, -4, 16)", false, 0x021000FFu},  // clamped
      {"rgb(a, 1.5, 7)", false, 0x02070000u},     // non-integers count as 0
      {"rgb(12", false, 0x0200000Cu},
      {"Red", false, 0x0000FFu},
      {"navy", true, 0x800000u},
      {"coral", false, 0x507FFFu},
      {"lightgrey", false, 0xD3D3D3u},
      {"yellowgreen", false, 0x32CD9Au},
      {"transparent", false, NoColor},
      {"#", false, std::nullopt},
      {"#12345678", false, std::nullopt},
      {"#1234567", false, std::nullopt},
      {"#123456", false, 0x02563412u},  // six digits, the most there may be
      {"#123", false, 0x02332211u},     // three digits, the most that are doubled
      {"#1234", false, 0x02341200u},    // four are not doubled
      {"#12", false, 0x02221100u},  // two digits doubled: 0x001122
      {" #AbC", true, 0x02CCBBAAu},
      {"#ggg", false, std::nullopt},
      {"reddish", false, std::nullopt},
      // Plain words: a colour by name, by digits where no "#" is needed, or by "rgb" in them.
      {"no-repeat", true, std::nullopt},
      {"face", false, 0x02CEFA00u},
      {"face", true, std::nullopt},
      {"argb", true, 0x02000000u},
      {"transparent", true, NoColor},
      {"", false, std::nullopt},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(ColorFromString(c.text, c.needHash), c.expected) << c.text;
  }
}

class Units : public ::testing::Test {
 protected:
  void SetUp() override { platform::SetScreenPixelsPerInch(96); }
  void TearDown() override { platform::SetScreenPixelsPerInch(96); }
};

TEST_F(Units, LengthToPixelsConvertsEachUnit) {
  const auto px = [](const char* text, double base = 300) {
    return LengthToPixels(text, LengthBase::Absolute, base, -1, 8, 16);
  };
  EXPECT_EQ(px("2em"), 32);
  EXPECT_EQ(px("3ex"), 24);
  EXPECT_EQ(px("50%"), 150);
  EXPECT_EQ(px("1in"), 96);
  EXPECT_EQ(px("2.54cm"), 96);
  EXPECT_EQ(px("25.4mm"), 96);
  EXPECT_EQ(px("72pt"), 96);
  EXPECT_EQ(px("1pc"), 16);
  EXPECT_EQ(px(" 7px "), 7);
  EXPECT_EQ(px("12"), 12);
  EXPECT_EQ(px("-4px"), -4);
  EXPECT_EQ(px("3xy"), -1);
  EXPECT_EQ(px("auto"), -1);
  EXPECT_EQ(px("px"), 0);  // no number counts as 0
  EXPECT_EQ(LengthToPixels("12", LengthBase::Relative, 20, -1, 8, 16), 240);
}

TEST_F(Units, LengthsRoundHalvesToEvenAndFollowTheScreen) {
  EXPECT_EQ(LengthToPixels("2.5px", LengthBase::Absolute, 0, 0, 0, 0), 2);
  EXPECT_EQ(LengthToPixels("3.5px", LengthBase::Absolute, 0, 0, 0, 0), 4);
  EXPECT_EQ(LengthToPixels("1e3px", LengthBase::Absolute, 0, -1, 0, 0), -1);  // "e3px" is no unit
  EXPECT_EQ(LengthToPixels("99999999999999999999999px", LengthBase::Absolute, 0, 0, 0, 0),
            std::numeric_limits<int>::max());
  platform::SetScreenPixelsPerInch(120);
  EXPECT_EQ(LengthToPixels("1in", LengthBase::Absolute, 0, 0, 0, 0), 120);
  EXPECT_EQ(LengthToPixels("0.5em", LengthBase::Absolute, 0, 0, 10, 20), 10);
}

TEST_F(Units, FontSizesInPointsAtSeveralParentSizes) {
  EXPECT_DOUBLE_EQ(FontSizeToPoints("medium", 10, 12), 14.4);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("larger", 10, 12), 12.5);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("smaller", 20, 12), 15);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("16px", 10, 12), 12);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("16", 10, 12), 12);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("xx-small", 30, 12), 8);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("x-small", 30, 12), 10);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("small", 30, 12), 12);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("large", 30, 12), 18);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("x-large", 30, 12), 24);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("xx-large", 30, 12), 36);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("1in", 10, 12), 72);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("2pc", 10, 12), 24);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("11pt", 10, 12), 11);
  for (double parent : {8.0, 12.0, 20.0}) {
    EXPECT_DOUBLE_EQ(FontSizeToPoints("1.5em", parent, 12), parent * 1.5);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("2ex", parent, 12), parent);
    EXPECT_DOUBLE_EQ(FontSizeToPoints("75%", parent, 12), parent * 0.75);
  }
  EXPECT_DOUBLE_EQ(FontSizeToPoints("huge", 10, 12), 12);
  EXPECT_DOUBLE_EQ(FontSizeToPoints("3furlongs", 10, 13), 13);
}

}  // namespace
}  // namespace tessival::html
