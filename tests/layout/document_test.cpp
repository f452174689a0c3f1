// The document root and its blocks: passes over an empty document, a section that cannot
// be laid out, margins between blocks, widths, search, source positions and selection text.
#include "layout_fixture.h"

namespace tessival::layout::testing {
namespace {

using Document = LayoutFixture;

TEST(EmptyDocument, LaysOutToHeightZeroAndPaintsNothing) {
  TSectionList doc;
  platform::TestCanvas canvas(50, 50);
  int pos = 0, maxWidth = 0;
  EXPECT_EQ(doc.Layout(canvas, 0, pos, maxWidth, 50, 50), 0);
  EXPECT_TRUE(doc.PositionList.empty());
  canvas.ClearOps();
  doc.Paint(canvas, {0, 0, 50, 50}, 0);
  for (const std::string& op : canvas.Ops()) EXPECT_FALSE(op.starts_with("TextOut")) << op;
  EXPECT_EQ(DumpLayout(doc), "");
  EXPECT_EQ(doc.GetSelLength(), 0);
}

TEST_F(Document, ASectionThatCannotBeLaidOutIsReportedAndDropped) {
  struct Unlayoutable : TSectionBase {
    using TSectionBase::TSectionBase;
    int Layout(const LayoutArgs&, int&, int&, IndentManager&) override {
      throw EProcessError("Table has too many Columns");
    }
  };
  Paragraph("vorher");
  TSectionBase* broken = Cells.back()->AddSection(std::make_unique<Unlayoutable>(&Doc));
  Doc.IDNameList.AddObject("KAPUTT", broken);
  Paragraph("nachher");
  Layout(200);
  EXPECT_EQ(Messages.Shown, std::vector<std::string>{"Table has too many Columns"});
  EXPECT_EQ(Doc.IDNameList.Find("KAPUTT"), nullptr);  // its name went with it
  EXPECT_EQ(Body->ContentCell->Items().size(), 2u);
  ExpectMatchesFile("process_error", Dump());
  Layout(200);  // gone for good: no second message
  EXPECT_EQ(Messages.Shown.size(), 1u);
}

TEST_F(Document, AdjoiningMarginsCollapse) {
  struct Case {
    const char* first;
    const char* second;
    int gap;
  };
  const Case cases[] = {
      {"margin-bottom: 10px", "margin-top: 20px", 20},
      {"margin-bottom: -5px", "margin-top: 20px", 15},
      {"margin-bottom: -5px", "margin-top: -10px", -10},
  };
  for (const Case& c : cases) {
    DocumentBuilder fresh;  // a document of its own for each case
    fresh.Paragraph("eins", c.first);
    TBlock& second = fresh.Paragraph("zwei", c.second);
    fresh.Layout(200);
    const auto* first = dynamic_cast<const TBlock*>(fresh.Body->ContentCell->Items()[0].get());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second.ContentTop - first->ContentBottom, c.gap) << c.first << " / " << c.second;
  }
}

TEST_F(Document, TheFirstParagraphKeepsItsSpaceInTheBodyButNotInAListItem) {
  TBlock& inBody = Paragraph("oben");
  OpenBlock({"li"});
  TBlock& inItem = Paragraph("im Punkt");
  CloseBlock();
  EXPECT_EQ(inBody.MarginTop, html::ParagraphSpacePixels);
  EXPECT_EQ(inItem.MarginTop, 0);
  // A closing item drops the paragraph space below its last paragraph.
  EXPECT_TRUE(TBlock::DropTrailingMargin(*Body->ContentCell));
  EXPECT_EQ(inItem.MarginBottom, 0);
}

TEST_F(Document, WidthRangesAreTheWidestWordAndTheWidestStretch) {
  TSection& section = OpenText();
  Text("kurz Wortungetuem mittel");
  Char(LineBreakChar);
  Text("Ost-West zwei");
  CloseText();
  int minWidth = 0, maxWidth = 0;
  section.GetWidthRange(Canvas, minWidth, maxWidth);
  EXPECT_EQ(minWidth, 12 * 8);  // "Wortungetuem"; "Ost-West" breaks after its hyphen
  EXPECT_EQ(maxWidth, 24 * 8);  // the first stretch
  // The document's width range adds the body margins.
  Body->GetWidthRange(Canvas, minWidth, maxWidth);
  EXPECT_EQ(maxWidth, 24 * 8 + 20);
}

TEST_F(Document, FindTextSearchesFromAPositionWithOrWithoutCase) {
  Paragraph("Der B\xC4R und der b\xE4r");
  Paragraph("Noch ein B\xE4r");
  Layout(400);
  EXPECT_EQ(Doc.FindText(0, "der", true), 12);
  EXPECT_EQ(Doc.FindText(0, "der", false), 0);
  EXPECT_EQ(Doc.FindText(1, "b\xE4r", false), 4);  // umlauts match in both cases
  EXPECT_EQ(Doc.FindText(5, "b\xE4r", false), 16);
  EXPECT_EQ(Doc.FindText(17, "B\xE4R", false), 28);  // in the next section
  EXPECT_EQ(Doc.FindText(0, "Baer", false), -1);
}

TEST_F(Document, SourcePositionsMapBothWays) {
  SourcePos = 500;
  Paragraph("erste");  // source 500..504, document 0..4
  SourcePos = 600;
  Paragraph("zweite");  // source 600..605, document 5..10
  Layout(400);
  EXPECT_EQ(Doc.SourcePosOf(2), 502);
  EXPECT_EQ(Doc.SourcePosOf(6), 601);
  EXPECT_EQ(Doc.DocPosOf(601, SearchDirection::Forward), 6);
  // Between the two paragraphs: forward to the next, backward to the previous.
  EXPECT_EQ(Doc.DocPosOf(550, SearchDirection::Forward), 5);
  EXPECT_EQ(Doc.DocPosOf(550, SearchDirection::Backward), 4);
  // Beyond the text: the document length + 1.
  EXPECT_EQ(Doc.DocPosOf(900, SearchDirection::Forward), 12);
}

TEST_F(Document, SelectedTextIsCountedAndCopiedLineByLine) {
  Paragraph("eins zwei drei");
  Paragraph("vier");
  Layout(100);  // "eins zwei " / "drei" / "vier"
  Doc.SelStart = 5;
  Doc.SelEnd = 16;
  char buffer[64];
  const int count = Doc.GetSelTextBuf(buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), "zwei \r\ndrei\r\nvi");
  EXPECT_EQ(count, 16);  // the characters and the terminating zero
  EXPECT_EQ(Doc.GetSelLength(), 15);
  char small[6];
  Doc.GetSelTextBuf(small, sizeof small);
  EXPECT_EQ(std::string(small), "zwei ");
  Doc.SelEnd = Doc.SelStart;
  EXPECT_EQ(Doc.GetSelLength(), 0);
  EXPECT_EQ(Doc.GetSelTextBuf(buffer, sizeof buffer), 0);
  EXPECT_EQ(std::string(buffer), "");
}

TEST_F(Document, SectionsAreFoundByTheirYAndLayoutReportsProgress) {
  std::vector<int> reported;
  Doc.OnProgress = [&](int stage, int percent) {
    EXPECT_EQ(stage, LayoutProgressStage);
    reported.push_back(percent);
  };
  Doc.ProgressBase = 50;
  for (int i = 0; i < 100; ++i) Paragraph("Absatz");
  Layout(200);
  EXPECT_EQ(reported, (std::vector<int>{75, 100}));
  int sectionY = 0, index = 0;
  // Text sections at 19, 49, 79...: the last at or above the y.
  const TSectionBase* found = Doc.FindSectionAtY(50, sectionY, index);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(sectionY, 49);
  EXPECT_EQ(Doc.FindSectionAtY(-1, sectionY, index), nullptr);
}

}  // namespace
}  // namespace tessival::layout::testing

namespace tessival::layout::testing {
namespace {

TEST_F(Document, ADeletedBlockTakesItsLinksAndPositionsWithIt) {
  TBlock& block = OpenBlock({"p"});
  OpenLink("weg.htm");
  Text("Verweis");
  CloseLink();
  CloseBlock();
  Layout(200);
  Paint();
  std::string title;
  TFormControlObj* control = nullptr;
  std::unique_ptr<html::TUrlTarget> target;
  ASSERT_EQ(Doc.FindLink(Canvas, 12, title, control, target, 25), flLink);
  ASSERT_NE(Doc.ActiveLinkFont, nullptr);
  ASSERT_EQ(Doc.PositionList.size(), 1u);
  Body->ContentCell->DeleteSection(&block);
  EXPECT_TRUE(Doc.LinkList().empty());
  EXPECT_EQ(Doc.ActiveLinkFont, nullptr);
  EXPECT_TRUE(Doc.PositionList.empty());
}

}  // namespace
}  // namespace tessival::layout::testing
