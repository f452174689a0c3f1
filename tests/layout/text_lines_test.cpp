// Line breaking, alignment and font runs of text sections, checked as layout dumps.
#include "layout_fixture.h"

namespace tessival::layout::testing {
namespace {

using TextLines = LayoutFixture;

TEST_F(TextLines, SpacesCollapseAndANonBreakingSpaceHoldsTwoWordsTogether) {
  OpenBlock({"p"});
  Text("  Hallo   Welt  ");
  CloseBlock();
  OpenBlock({"p"});
  // 8 pixels a character, 100 pixels: "eins zwei" fits, "drei\5vier" must move together.
  Text("eins zwei drei\x05vier");
  CloseBlock();
  Layout(120);
  ExpectMatchesFile("spaces", Dump());
}

TEST_F(TextLines, ALineBreakAtTheStartGivesAnEmptyLineOfTheFirstFontsHeight) {
  OpenBlock({"p"});
  OpenInline({"big", "font-size: 24pt"});
  Char(LineBreakChar);
  Text("gross");
  CloseBlock();
  Layout(300);
  ExpectMatchesFile("line_break_at_start", Dump());
}

TEST_F(TextLines, AWordWiderThanTheLineStandsAloneAndRaisesTheMaximumWidth) {
  OpenBlock({"p"});
  Text("ab Donaudampfschifffahrtsgesellschaft cd");
  CloseBlock();
  Layout(100);
  ExpectMatchesFile("long_word", Dump());
  // The paragraph widens to the word (34 characters) and the document reports it with the
  // body margins; a wide enough window is reported as it is.
  EXPECT_EQ(MaxWidth, 34 * 8 + 20);
  Layout(400);
  EXPECT_EQ(MaxWidth, 400);
}

TEST_F(TextLines, HyphensAndQuestionMarksBreakUnlessMarkedNoBreak) {
  OpenBlock({"p"});
  Text("Ost-West-Achse wer?wie?was");
  CloseBlock();
  OpenBlock({"p"});
  Text("Ost-West-Achse wer?wie?was", BreakRule::NoBreak);
  CloseBlock();
  Layout(100);
  ExpectMatchesFile("hyphen_question_breaks", Dump());
}

TEST_F(TextLines, JustifiedLinesFillTheWidthAndTheLastLineStaysLeft) {
  OpenBlock({"p", "text-align: justify"});
  Text("Es war einmal ein kleines Dorf am Rand des Waldes");
  CloseBlock();
  Layout(230);  // 210 for the text: 10 pixels to spread over 4 spaces on the first line
  ExpectMatchesFile("justify", Dump());
  Paint();
  EXPECT_NE(std::find(Canvas.Ops().begin(), Canvas.Ops().end(), "SetTextJustification 0,0"),
            Canvas.Ops().end());
}

TEST_F(TextLines, CentredAndRightAlignedLinesSitBetweenTheIndents) {
  Paragraph("Mitte der Zeile", "text-align: center");
  Paragraph("rechts", "text-align: right");
  Paragraph("links", "text-align: left");
  Layout(220);
  ExpectMatchesFile("alignment", Dump());
}

TEST_F(TextLines, FontsOfDifferentHeightsOnOneLineShareItsBaseline) {
  OpenBlock({"p"});
  Text("klein ");
  OpenInline({"span", "font-size: 24pt"});
  Text("GROSS");
  CloseInline();
  Text(" klein");
  CloseBlock();
  Layout(400);
  ExpectMatchesFile("mixed_heights", Dump());
  Paint();
  // Every run is drawn on the one baseline.
  std::vector<std::string> texts;
  for (const std::string& op : Canvas.Ops())
    if (op.starts_with("TextOut")) texts.push_back(op);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0], "TextOut 10,43 \"klein \"");
  EXPECT_EQ(texts[1], "TextOut 58,43 \"GROSS\"");
  EXPECT_EQ(texts[2], "TextOut 138,43 \" klein\"");
}

TEST_F(TextLines, SubscriptsAndSuperscriptsMoveOffTheBaselineAndTheTextAfterThemReturns) {
  OpenBlock({"p"});
  Text("H");
  OpenInline({"sub", "font-size: 12pt"}, TVShift::vsLowered);
  Text("2");
  CloseInline();
  Text("O x");
  OpenInline({"sup", "font-size: 12pt"}, TVShift::vsRaised);
  Text("2");
  CloseInline();
  CloseBlock();
  Layout(400);
  Paint();
  std::vector<std::string> texts;
  for (const std::string& op : Canvas.Ops())
    if (op.starts_with("TextOut")) texts.push_back(op);
  // Baseline 31; lowered by descent 4 / 2 + 1, raised by height 16 / 3.
  EXPECT_EQ(texts, (std::vector<std::string>{"TextOut 10,31 \"H\"", "TextOut 18,34 \"2\"",
                                             "TextOut 26,31 \"O x\"", "TextOut 50,26 \"2\""}));
}

TEST_F(TextLines, AnEmptyParagraphIsDroppedButOneWithAnAnchorStays) {
  OpenBlock({"p"});
  Text("   ");
  EXPECT_EQ(CloseText(), nullptr);
  OpenText().SetHasAnchor();
  Doc.IDNameList.AddObject("MARKE", &Section());
  EXPECT_NE(CloseText(), nullptr);
  OpenText();
  Text("  ");
  Doc.IDNameList.AddObject("WEG", &Section());
  EXPECT_EQ(CloseText(), nullptr);
  EXPECT_EQ(Doc.IDNameList.Find("WEG"), nullptr);  // a dropped section's name is gone
  EXPECT_NE(Doc.IDNameList.Find("MARKE"), nullptr);
  CloseBlock();
}

TEST_F(TextLines, LinesStartBesideAFloatAndReturnBelowIt) {
  // A stand-in for a floating block: it takes a band of the left side and no height.
  struct FloatStandIn : TSectionBase {
    using TSectionBase::TSectionBase;
    int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override {
      TSectionBase::Layout(args, pos, maxWidth, indents);
      indents.AddFloatBlock(args.y, indents.LeftIndentAt(args.y) + 50, FloatSide::Left, 100);
      return 0;
    }
  };
  OpenBlock({"div"});
  Cells.back()->AddSection(std::make_unique<FloatStandIn>(&Doc));
  Text("eins zwei drei vier fuenf sechs sieben acht");
  CloseText();
  OpenText();
  Text("Donaudampfschiffe");  // 136 pixels: fits only below the float
  CloseBlock();
  Layout(180);
  ExpectMatchesFile("beside_float", Dump());
}

}  // namespace
}  // namespace tessival::layout::testing

namespace tessival::layout::testing {
namespace {

TEST_F(TextLines, DoubleByteTextIsNeverSplitInsideACharacter) {
  OpenBlock({"p"});
  Stack.back()->SetCharset(128);  // Shift-JIS: lead bytes 0x81..0x9F
  OpenText();
  std::string text;
  for (int i = 0; i < 9; ++i) text += "\x82\xA0";  // nine two-byte characters
  Text(text);
  TSection* section = dynamic_cast<TSection*>(CloseText());
  CloseBlock();
  ASSERT_NE(section, nullptr);
  ASSERT_TRUE(section->HasDoubleByte);
  Layout(20 + 40);  // 40 pixels: two and a half characters
  for (const LineRec& line : section->Lines()) {
    EXPECT_EQ(line.Start % 2, 0);
    EXPECT_EQ(line.Count % 2, 0);
  }
  EXPECT_EQ(section->Lines().size(), 5u);
  int minWidth = 0, maxWidth = 0;
  section->GetWidthRange(Canvas, minWidth, maxWidth);
  EXPECT_EQ(minWidth, 16);  // every character may stand alone
  EXPECT_EQ(maxWidth, 9 * 16);
  // A point anywhere in a character gives a position before or after it, never inside.
  Paint();
  for (int x = 10; x < 50; ++x) {
    bool inside = false;
    int height = 0, top = 0, charX = 0;
    const int pos = Doc.PositionAtPoint(Canvas, x, section->Top + 2, inside, height, top, charX);
    EXPECT_EQ((pos - section->StartPos) % 2, 0) << x;
  }
}

}  // namespace
}  // namespace tessival::layout::testing
