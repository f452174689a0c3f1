// Layout rules whose slips once went unnoticed: the minimum a spanning cell spreads, the
// pixels left over in a table of given width, clearing one float beside a taller other,
// a long word after a picture, letter markers from zero, the first paragraph of a cell, and
// which empty text sections stay; and the page background the host delivers late.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/document_images.h"
#include "layout/table_widths.h"
#include "layout_fixture.h"
#include "platform/stream.h"
#include "tests/imaging/bmp_builder.h"

namespace tessival::layout::testing {
namespace {

using Widths = std::vector<int>;

TColumnCell Cell(int col, int span, int min, int max, int percent = 0) {
  return {.Col = col,
          .Span = span,
          .Min = min,
          .Max = max,
          .PixelWidth = 0,
          .Extras = 0,
          .Percent = percent};
}

TEST(PinnedTableWidths, ASpanningCellSpreadsItsExtraMinimumByTheColumnsMinimums) {
  // 10/100 and 30/40 under a span of minimum 80: the 40 missing go 10 : 30, not 100 : 40.
  const std::vector<TColumnCell> cells = {Cell(0, 1, 10, 100), Cell(1, 1, 30, 40), Cell(0, 2, 80, 80)};
  EXPECT_EQ(PlainColumnRanges(cells, 2).Min, (Widths{20, 60}));
  EXPECT_EQ(PercentColumnRanges(cells, 2, 0).Min, (Widths{20, 60}));
}

TEST(PinnedTableWidths, PixelsLeftOverInAGivenWidthGoToThePercentlessColumns) {
  // 25 % and two fixed columns of 150 in 402: the two spare pixels, one each.
  const TColumnRanges ranges = PercentColumnRanges({Cell(0, 1, 20, 50, 250), Cell(1, 1, 150, 150),
                                                    Cell(2, 1, 150, 150)},
                                                   3, 0);
  EXPECT_EQ(DistributeColumns(ranges, 402, TTableWidthKind::Given, false), (Widths{100, 151, 151}));
}

// clang-format off
const Page Pages[] = {
    // The left float ends at 35 and only it is cleared; the right one reaches 65.
    {"clear_left", 300,
     "<div style='float:left;width:50px;height:30px'>L</div>"
     "<div style='float:right;width:50px;height:60px'>R</div>"
     "<div style='clear:left'>unter links</div>"},
    // The word does not fit beside the picture: it starts the next line.
    {"picture_then_long_word", 100, "<img src=bild.gif width=60 height=20>Donaudampfschiff"},
    {"letters_from_zero", 300, "<ol type=A start=0><li>null<li>eins</ol>"},
    {"cell_first_paragraph", 300, "<table><tr><td><p>erster</p><p>zweiter</td></tr></table>"},
};
// clang-format on

class PinnedPages : public ::testing::TestWithParam<Page> {};

TEST_P(PinnedPages, DumpMatchesTheExpectedFile) {
  const Page& page = GetParam();
  ExpectMatchesFile(std::string("pinned_") + page.name, DumpOfPage(page));
}

INSTANTIATE_TEST_SUITE_P(Pages, PinnedPages, ::testing::ValuesIn(Pages),
                         [](const auto& info) { return std::string(info.param.name); });

class EmptySections : public LayoutFixture {};

TEST_F(EmptySections, AnEmptyTextSectionStaysOnlyWhenItClearsFloatsOrHoldsAnAnchor) {
  struct Case {
    const char* name;
    int clear;
    bool anchor;
    bool kept;
  };
  const Case cases[] = {
      {"nothing", clNone, false, false},
      {"clears left", clLeft, false, true},
      {"clears both", clBoth, false, true},
      {"anchor", clNone, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TSection& section = OpenText();
    section.Clear = c.clear;
    if (c.anchor) section.SetHasAnchor();
    EXPECT_EQ(CloseText() != nullptr, c.kept);
  }
}

class LateBackground : public ::testing::Test {
 protected:
  LateBackground() {
    doc.ShowImages = true;
    doc.Images.OnImageRequest = [this](const std::string& src, platform::TStream*& answer) {
      asked.push_back(src);
      answer = &DeferredImageStream();
    };
  }
  // Delivers a 4 x 3 picture whose every pixel is red (0x00BBGGRR: 0x0000FF).
  bool Deliver(const std::string& src) {
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < 12; ++i) pixels.insert(pixels.end(), {0, 0, 0xFF});  // blue, green, red
    const imaging::test::BmpBytes red = imaging::test::MakeBmp({4, 3, 24, 0, {}, {}, pixels});
    platform::TMemoryStream data;
    data.Write(red.data(), red.size());
    data.SetPosition(0);
    return doc.InsertImage(src, data);
  }

  TSectionList doc;
  std::vector<std::string> asked;
};

TEST_F(LateBackground, IsAskedForOnceAndTakenWhenTheHostDeliversIt) {
  doc.SetBackgroundImage("tile.bmp");
  EXPECT_EQ(doc.GetBackgroundBitmap(), nullptr);
  EXPECT_EQ(doc.GetBackgroundBitmap(), nullptr);
  EXPECT_EQ(asked, std::vector<std::string>{"tile.bmp"});
  EXPECT_FALSE(Deliver("TILE.BMP"));  // the page's layout does not depend on it
  const platform::TBitmap* picture = doc.GetBackgroundBitmap();
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Width(), 4);
  EXPECT_EQ(picture->GetPixel(3, 2), 0x0000FFu);
  EXPECT_EQ(asked.size(), 1u) << "found in the cache, not asked again";
}

TEST_F(LateBackground, APictureForAnAddressGivenUpIsNotTheBackground) {
  doc.SetBackgroundImage("old.bmp");
  doc.GetBackgroundBitmap();
  doc.SetBackgroundImage("new.bmp");
  doc.GetBackgroundBitmap();
  Deliver("old.bmp");
  EXPECT_EQ(doc.GetBackgroundBitmap(), nullptr);
  Deliver("new.bmp");
  EXPECT_NE(doc.GetBackgroundBitmap(), nullptr);
  EXPECT_EQ(asked, (std::vector<std::string>{"old.bmp", "new.bmp"}));
}

}  // namespace
}  // namespace tessival::layout::testing
