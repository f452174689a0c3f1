// Printing paths of painting: where a page ends (a line that does not fit, a PAGE break)
// and the colours text gets on paper.
#include "layout/preformatted.h"
#include "layout_fixture.h"

namespace tessival::layout::testing {
namespace {

class Printing : public LayoutFixture {
 protected:
  // One printed page: the clip is the page, its bottom where the page ends at most.
  void PrintPage(int pageTop, int pageHeight) {
    Doc.Printing = true;
    Doc.SetYOffset(pageTop);
    Canvas.ClearOps();
    Doc.Paint(Canvas, {0, 0, 400, pageHeight}, 0);
  }

  int TextOuts() const {
    int count = 0;
    for (const std::string& op : Canvas.Ops()) count += op.starts_with("TextOut") ? 1 : 0;
    return count;
  }

  platform::TColor GlyphAt(int cellX, int baseline) const {
    return Canvas.PixelAt(cellX + 1, baseline - 2);
  }
};

TEST_F(Printing, ALineCrossingThePageBottomMovesToTheNextPage) {
  Paragraph("eins zwei drei vier");
  Layout(100);  // "eins zwei " at y 19, "drei vier" at y 35
  PrintPage(0, 40);
  EXPECT_EQ(Doc.PageBottom, 35);  // the page ends above the second line
  EXPECT_TRUE(Doc.PageShortened);
  EXPECT_EQ(TextOuts(), 1);
  // On screen the same clip cuts nothing short.
  Doc.Printing = false;
  Canvas.ClearOps();
  Doc.Paint(Canvas, {0, 0, 400, 40}, 0);
  EXPECT_FALSE(Doc.PageShortened);
  EXPECT_EQ(TextOuts(), 2);
}

TEST_F(Printing, APageBreakEndsThePageAtItsTopEvenWithTextBelowIt) {
  Paragraph("vorher");
  Cells.back()->AddSection(std::make_unique<TPage>(&Doc));
  Paragraph("nachher");
  Layout(200);
  const TSectionBase& page = *Body->ContentCell->Items()[1];
  ASSERT_STREQ(page.KindName(), "Page");
  PrintPage(0, 300);
  // The line after the break lies wholly below it: it stays off this page and does not
  // move the page's end down past the break.
  EXPECT_EQ(Doc.PageBottom, page.Top);
  EXPECT_EQ(TextOuts(), 1);
  // A break right at the top of a page would leave an empty page: it is passed over.
  PrintPage(page.Top - 3, 300);
  EXPECT_EQ(Doc.PageBottom, page.Top - 3 + 300);
  // On screen a break does nothing.
  Doc.Printing = false;
  Doc.SetYOffset(0);
  Doc.Paint(Canvas, {0, 0, 400, 300}, 0);
  EXPECT_EQ(Doc.PageBottom, 300);
}

TEST_F(Printing, NearWhiteTextIsPrintedGreyUnlessBackgroundsArePrinted) {
  Paragraph("hell", "color: #F0F0F0");
  Layout(200);
  const int baseline = 31;
  PrintPage(0, 300);
  EXPECT_EQ(GlyphAt(10, baseline), 0xA0A0A0u);
  Doc.PrintBackgrounds = true;
  PrintPage(0, 300);
  EXPECT_EQ(GlyphAt(10, baseline), 0xF0F0F0u);
  Doc.PrintBackgrounds = false;
  Doc.Printing = false;
  Doc.Paint(Canvas, {0, 0, 400, 300}, 0);
  EXPECT_EQ(GlyphAt(10, baseline), 0xF0F0F0u);
}

}  // namespace
}  // namespace tessival::layout::testing
