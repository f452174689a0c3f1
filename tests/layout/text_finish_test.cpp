// White-space normalisation when a text section is finished, and what it does to font
// runs, links and source positions.
#include "layout_fixture.h"

namespace tessival::layout::testing {
namespace {

using TextFinish = LayoutFixture;

// The finished text with "~" for a space that may not break.
std::string Marked(const TSection& section) {
  std::string out = section.Text();
  for (std::size_t i = 0; i < out.size(); ++i)
    if (out[i] == ' ' && section.Breaks()[i] == BreakNever) out[i] = '~';
  return out;
}

TEST_F(TextFinish, NormalisesSpacesLineBreaksSoftHyphensAndNonBreakingSpaces) {
  struct Case {
    std::string input;
    std::string finished;
  };
  // The table keeps its hand-made columns.
  // clang-format off
  const Case cases[] = {
      {"   vorne", "vorne"},
      {"a  \t b", "a \t b"},            // a tab is no space here; the tokenizer folds tabs
      {"a    b  ", "a b "},
      {"a \x08 b", "a\x08" "b"},        // spaces around a line break go
      {"a  \x08\x08  b", "a\x08\x08" "b"},
      {"Zucker\xADwatte", "Zuckerwatte"},
      {"a\x05\x05" "b", "a~~b"},        // non-breaking spaces never collapse
      {"a \x05 b", "a ~ b"},
      {"w\x02x\x04y", "w x y"},         // object markers cannot come from text
  };
  // clang-format on
  for (const Case& c : cases) {
    TSection& section = OpenText();
    Text(c.input);
    section.FinishText();
    EXPECT_EQ(Marked(section), c.finished) << c.input;
    EXPECT_EQ(section.Breaks().size(), section.Text().size() + 1) << c.input;
    Pending.reset();
  }
}

TEST_F(TextFinish, OfARunOfSpacesTheFirstThatMayBreakStays) {
  TSection& section = OpenText();
  Text("a");
  Text("  ", BreakRule::NoBreak);
  Text("  b");
  section.FinishText();
  EXPECT_EQ(Marked(section), "a b");
  TSection& allNoBreak = OpenText();
  Text("a   b", BreakRule::NoBreak);
  allNoBreak.FinishText();
  EXPECT_EQ(Marked(allNoBreak), "a~b");
}

TEST_F(TextFinish, FontRunsMoveBackWithTheDeletedCharactersAndEmptyRunsGo) {
  TSection& section = OpenText();
  Text("  eins  ");
  OpenInline({"b"});
  Text("  ");  // collapses away: the bold run keeps no character
  CloseInline();
  OpenInline({"i"});
  Text("zwei");
  CloseInline();
  section.FinishText();
  EXPECT_EQ(section.Text(), "eins zwei");
  const TFontList& fonts = section.Fonts();
  ASSERT_EQ(fonts.Count(), 3);
  EXPECT_EQ(fonts[0].Pos, 0);
  EXPECT_EQ(fonts[1].Pos, 5);
  EXPECT_TRUE(fonts[1].Font.Style & html::fsItalic);
  EXPECT_EQ(fonts[2].Pos, 9);  // the run after the italic text, still open at the end
}

TEST_F(TextFinish, ALinkWhoseTextVanishedLeavesTheLinkList) {
  TSection& section = OpenText();
  Text("vor ");
  OpenLink("leer.htm");
  Text("   ");
  CloseLink();
  OpenLink("voll.htm");
  Text("Ziel");
  CloseLink();
  EXPECT_EQ(Doc.LinkList().size(), 2u);
  section.FinishText();
  ASSERT_EQ(Doc.LinkList().size(), 1u);
  EXPECT_EQ(Doc.LinkList()[0]->UrlTarget.Url(), "voll.htm");
  EXPECT_EQ(Doc.LinkList()[0]->Pos, 4);
}

TEST_F(TextFinish, SourcePositionsAreKeptAsRecordsWhereTheSourceJumps) {
  TSection& section = OpenText();
  html::TokenObj tokens;
  tokens.AddRun("  Haus", 100);  // two leading spaces go
  tokens.AddChar(' ', 106);
  tokens.AddChar('\xE4', 107);  // an entity: one character from six source bytes
  tokens.AddRun("rger", 113);
  section.AddTokens(tokens, Top(), BreakRule::Allowed);
  section.FinishText();
  ASSERT_EQ(section.Text(), "Haus \xE4rger");
  ASSERT_EQ(section.Index().size(), 2u);
  EXPECT_EQ(section.Index()[0].Pos, 0);
  EXPECT_EQ(section.Index()[0].SourcePos, 102);
  EXPECT_EQ(section.Index()[1].Pos, 6);
  EXPECT_EQ(section.Index()[1].SourcePos, 113);
}

TEST_F(TextFinish, ALongSectionIsNormalisedWhole) {
  // Many deletions in one section: the result must be the same as for a short one.
  std::string input;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    input += "wort   \xAD";
    expected += "wort ";
  }
  TSection& section = OpenText();
  Text(input);
  section.FinishText();
  EXPECT_EQ(section.Text(), expected);
}

TEST_F(TextFinish, TextTransformChangesCaseOfGermanLettersToo) {
  Push({"span", "text-transform: uppercase"});
  TSection& section = OpenText();
  Text(
      "gr\xFC\xDF"
      "e \xE4\xF6");
  section.FinishText();
  EXPECT_EQ(section.Text(),
            "GR\xDC\xDF"
            "E \xC4\xD6");  // sharp s has no capital here
}

}  // namespace
}  // namespace tessival::layout::testing
