// The caret and the selection in painted text: the caret's character is drawn on its own,
// and neither the caret nor a selection end ever splits a double-byte character.
#include <algorithm>

#include "layout_fixture.h"

namespace tessival::layout::testing {
namespace {

const std::string Kana = "\x82\xA0";  // one Shift-JIS character: lead byte 0x82

class Caret : public LayoutFixture {
 protected:
  // A paragraph of four double-byte characters (16 pixels each on the test canvas).
  TSection& DoubleBytePage() {
    OpenBlock({"p"});
    Stack.back()->SetCharset(128);
    OpenText();
    Text(Kana + Kana + Kana + Kana);
    auto* section = dynamic_cast<TSection*>(CloseText());
    CloseBlock();
    Layout(300);
    EXPECT_TRUE(section->HasDoubleByte);
    return *section;
  }

  std::vector<std::string> PaintedTexts() {
    Paint();
    std::vector<std::string> texts;
    for (const std::string& op : Canvas.Ops())
      if (op.starts_with("TextOut")) texts.push_back(op.substr(op.find('"')));
    return texts;
  }

  std::vector<std::string> CaretBars() const {
    std::vector<std::string> bars;
    for (const std::string& op : Canvas.Ops())
      if (op.starts_with("FillRect") && op.find(" #000000") != std::string::npos) bars.push_back(op);
    return bars;
  }

  std::string Selected() {
    char buffer[64] = {};
    Doc.GetSelTextBuf(buffer, sizeof buffer);
    return buffer;
  }

  static std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
};

TEST_F(Caret, TheCaretsCharacterIsDrawnAsAChunkOfItsOwnWithTheBarAtItsStart) {
  Paragraph("abcd");
  Layout(300);
  Doc.ShowCaret = true;
  Doc.SelStart = Doc.SelEnd = 1;
  EXPECT_EQ(PaintedTexts(), (std::vector<std::string>{"\"a\"", "\"b\"", "\"cd\""}));
  ASSERT_EQ(CaretBars().size(), 1u);
  EXPECT_TRUE(CaretBars()[0].starts_with("FillRect 18,")) << CaretBars()[0];
  // Without the caret shown the line is one chunk.
  Canvas.ClearOps();
  Doc.ShowCaret = false;
  Doc.SelStart = Doc.SelEnd = 0;
  EXPECT_EQ(PaintedTexts(), (std::vector<std::string>{"\"abcd\""}));
}

TEST_F(Caret, ADoubleByteCaretCutsBothBytesOfItsCharacter) {
  const TSection& section = DoubleBytePage();
  Doc.ShowCaret = true;
  // At a character's start and on its second byte alike: the bar stands before the character.
  for (const int offset : {2, 3}) {
    Canvas.ClearOps();
    Doc.SelStart = Doc.SelEnd = section.StartPos + offset;
    EXPECT_EQ(PaintedTexts(),
              (std::vector<std::string>{Quoted(Kana), Quoted(Kana), Quoted(Kana + Kana)}))
        << offset;
    ASSERT_EQ(CaretBars().size(), 1u);
    EXPECT_TRUE(CaretBars()[0].starts_with("FillRect 26,")) << CaretBars()[0];  // 10 + 16
  }
}

TEST_F(Caret, ASelectionEndingInsideADoubleByteCharacterTakesInTheWholeCharacter) {
  const TSection& section = DoubleBytePage();
  Doc.SelStart = section.StartPos + 1;  // the second byte of the first character
  Doc.SelEnd = section.StartPos + 5;    // the second byte of the third
  EXPECT_EQ(PaintedTexts(), (std::vector<std::string>{Quoted(Kana + Kana + Kana), Quoted(Kana)}));
  EXPECT_EQ(Selected(), Kana + Kana + Kana);
  // Ends on character boundaries stay where they are.
  Canvas.ClearOps();
  Doc.SelStart = section.StartPos + 2;
  Doc.SelEnd = section.StartPos + 4;
  EXPECT_EQ(PaintedTexts(), (std::vector<std::string>{Quoted(Kana), Quoted(Kana), Quoted(Kana + Kana)}));
  EXPECT_EQ(Selected(), Kana);
}

TEST_F(Caret, BoundariesAreFoundFromTheLineStartWhereTrailBytesLookLikeLeadBytes) {
  // 0x82 0x82 is one character whose second byte is itself a lead byte value.
  OpenBlock({"p"});
  Stack.back()->SetCharset(128);
  OpenText();
  Text(
      "\x82\x82\x82\x82"
      "a");
  auto* section = dynamic_cast<TSection*>(CloseText());
  CloseBlock();
  Layout(300);
  Doc.SelStart = section->StartPos + 3;
  Doc.SelEnd = section->StartPos + 5;
  EXPECT_EQ(Selected(),
            "\x82\x82"
            "a\r\n");  // to the line's end, so with its line end
}

}  // namespace
}  // namespace tessival::layout::testing
