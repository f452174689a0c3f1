// Painting with selection and links, and the questions a viewer asks of points and
// positions: which character, which link, where a character is.
#include "layout_fixture.h"

namespace tessival::layout::testing {
namespace {

constexpr platform::TColor Black = 0x000000;
constexpr platform::TColor White = 0xFFFFFF;
constexpr platform::TColor Yellow = 0x00FFFF;  // 0x00BBGGRR

class TextHits : public LayoutFixture {
 protected:
  // Glyph boxes of the test canvas cover [x, x + 7) of every 8-pixel cell and the rows
  // above the baseline; column x + 7 shows what is behind the text.
  platform::TColor GlyphAt(int cellX, int baseline) const {
    return Canvas.PixelAt(cellX + 1, baseline - 2);
  }
  platform::TColor BehindAt(int cellX, int baseline) const {
    return Canvas.PixelAt(cellX + 7, baseline - 2);
  }
};

TEST_F(TextHits, ASelectedRunWithAYellowBackgroundShowsYellowTextOnTheFontColour) {
  OpenBlock({"p"});
  Text("ab");
  OpenInline({"span", "background-color: yellow"});
  Text("cdef");
  CloseInline();
  Text("gh");
  CloseBlock();
  Layout(300);
  Doc.SelStart = 1;  // "bcd": plain text and the start of the yellow run
  Doc.SelEnd = 4;
  Paint();
  const int baseline = 31;
  // Unselected plain text: black on the white page.
  EXPECT_EQ(GlyphAt(10, baseline), Black);
  EXPECT_EQ(BehindAt(10, baseline), White);
  // Selected plain text: the inverse of the font colour on the font colour.
  EXPECT_EQ(GlyphAt(18, baseline), White);
  EXPECT_EQ(BehindAt(18, baseline), Black);
  // Selected yellow run: yellow text on the font colour.
  EXPECT_EQ(GlyphAt(26, baseline), Yellow);
  EXPECT_EQ(BehindAt(26, baseline), Black);
  // The yellow run past the selection: black text on yellow.
  EXPECT_EQ(GlyphAt(42, baseline), Black);
  EXPECT_EQ(BehindAt(42, baseline), Yellow);
  // After the run the page shows through again.
  EXPECT_EQ(BehindAt(58, baseline), White);
}

TEST_F(TextHits, PointsMapToPositionsAtTheEdgesOfLines) {
  Paragraph("eins zwei drei", "text-align: center");
  Layout(100);  // 80 for text: "eins zwei " / "drei", the second line centred at x 34
  Paint();
  bool inside = false;
  int height = 0, top = 0, charX = 0;
  const auto at = [&](int x, int y) {
    return Doc.PositionAtPoint(Canvas, x, y, inside, height, top, charX);
  };
  // Left of the section's paint x: nothing.
  EXPECT_EQ(at(5, 40), -1);
  // Left of a centred line's text: its first position, not inside text.
  EXPECT_EQ(at(20, 40), 10);
  EXPECT_FALSE(inside);
  EXPECT_EQ(height, 16);
  EXPECT_EQ(top, 35);
  // The first half of a character gives the position before it, the second half after it.
  EXPECT_EQ(at(37, 40), 10);
  EXPECT_TRUE(inside);
  EXPECT_EQ(charX, 34);
  EXPECT_EQ(at(39, 40), 11);
  EXPECT_EQ(charX, 42);
  // The first line "eins zwei " is centred at x 14: past the middle of its last letter.
  EXPECT_EQ(at(85, 20), 9);
  EXPECT_EQ(charX, 14 + 9 * 8);
  // Past the line's width (from its text start): nothing; below the text: nothing.
  EXPECT_EQ(at(95, 20), -1);
  EXPECT_EQ(at(30, 70), -1);
}

TEST_F(TextHits, PositionsMapBackToPoints) {
  Paragraph("eins zwei drei");
  Layout(100);
  Paint();
  int y = 0, x = 0;
  ASSERT_TRUE(Doc.PointOfPosition(&Canvas, 12, y, x));
  EXPECT_EQ(y, 35);
  EXPECT_EQ(x, 10 + 2 * 8);
  ASSERT_TRUE(Doc.PointOfPosition(nullptr, 12, y, x));
  EXPECT_EQ(x, 10);                                     // without a canvas: the line's start
  ASSERT_TRUE(Doc.PointOfPosition(&Canvas, 14, y, x));  // the end of the text
  EXPECT_EQ(x, 10 + 4 * 8);
  EXPECT_FALSE(Doc.PointOfPosition(&Canvas, 99, y, x));
}

TEST_F(TextHits, LinksAndTitlesAreFoundUnderThePointerAndLightUpWhole) {
  Doc.LinksActive = true;
  int repaints = 0;
  Doc.OnInvalidate = [&] { ++repaints; };
  OpenBlock({"p"});
  Text("Siehe ");
  OpenLink("ziel.htm");
  Text("das ");
  OpenInline({"b", "", "", "", "fett"});
  Text("Ziel");
  CloseInline();
  CloseLink();
  Text(" hier");
  CloseBlock();
  Layout(300);
  Paint();
  std::string title;
  TFormControlObj* control = nullptr;
  std::unique_ptr<html::TUrlTarget> target;
  EXPECT_EQ(Doc.FindLink(Canvas, 14, title, control, target, 25), 0);  // "Siehe"
  EXPECT_EQ(target, nullptr);
  const int found = Doc.FindLink(Canvas, 10 + 10 * 8 + 2, title, control, target, 25);  // "Ziel"
  EXPECT_EQ(found, flLink | flTitle);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->Url(), "ziel.htm");
  EXPECT_EQ(title, "fett");
  // Both runs of the link show their hover look.
  ASSERT_EQ(Doc.LinkList().size(), 2u);
  EXPECT_TRUE(Doc.LinkList()[0]->Hover);
  EXPECT_TRUE(Doc.LinkList()[1]->Hover);
  EXPECT_EQ(repaints, 1);
  Doc.FindLink(Canvas, 10 + 11 * 8 + 2, title, control, target, 25);  // the same run: no repaint
  EXPECT_EQ(repaints, 1);
  Doc.ClearHover();
  EXPECT_EQ(repaints, 2);
  EXPECT_FALSE(Doc.LinkList()[0]->Hover);
  EXPECT_FALSE(Doc.LinkList()[1]->Hover);
  // Past the end of the line's text there is no link.
  target.reset();
  EXPECT_EQ(Doc.FindLink(Canvas, 250, title, control, target, 25), 0);
}

TEST_F(TextHits, LinkRunsTakeTheLinkColour) {
  OpenBlock({"p"});
  OpenLink("x.htm");
  Text("Link");
  CloseLink();
  CloseBlock();
  Layout(300);
  Paint();
  EXPECT_EQ(GlyphAt(10, 31), platform::PlainColor(html::TStyleDefaults{}.LinkColor));
}

}  // namespace
}  // namespace tessival::layout::testing
