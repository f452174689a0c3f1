// The reader's tables and conversions: declared character sets, Japanese text, font sizes,
// and the element stack on its own.
#include <gtest/gtest.h>

#include "reader/font_size_tables.h"
#include "reader/prop_stack.h"
#include "reader/reader_charsets.h"
#include "tag_reader_support.h"

namespace tessival::layout::testing {
namespace {

TEST(ReaderCharsetsTest, DeclarationsMatchTheFirstKeyTheyContain) {
  const auto charsetOf = [](std::string_view text) {
    const auto match = CharsetOfDeclaration(text);
    return match ? match->Charset : -1;
  };
  EXPECT_EQ(charsetOf("text/html; charset=Windows-1251"), 204);
  EXPECT_EQ(charsetOf("ISO-8859-15"), 0);  // found as 8859-1 first
  EXPECT_EQ(charsetOf("x-sjis"), 128);
  EXPECT_EQ(charsetOf("KOI8-R"), 204);
  EXPECT_EQ(charsetOf("utf-8"), -1);
  const auto euc = CharsetOfDeclaration("text/html; charset=EUC-JP");
  ASSERT_TRUE(euc);
  EXPECT_TRUE(euc->EucJp);
  EXPECT_EQ(euc->Charset, 128);
}

TEST(ReaderCharsetsTest, Iso2022JpBecomesShiftJis) {
  EXPECT_FALSE(HasIso2022JpEscape("plain \x1b(B text"));
  EXPECT_TRUE(HasIso2022JpEscape("x\x1b$@y"));
  // Odd first byte 0x25 with second bytes below and above 96; even first byte 0x30.
  EXPECT_EQ(Iso2022JpToShiftJis("a\x1b$B\x25\x22\x25\x73\x30\x21\x1b(Jb"),
            "a\x83\x41\x83\x93\x88\x9F"
            "b");
  // A first byte above 96 takes the upper lead range.
  EXPECT_EQ(Iso2022JpToShiftJis("\x1b$@\x63\x21"), "\xE2\x40");
  // A pair cut off by the end keeps what there is.
  EXPECT_EQ(Iso2022JpToShiftJis("\x1b$B\x30"), "\x30");
}

TEST(ReaderCharsetsTest, EucJpBecomesShiftJis) {
  EXPECT_EQ(EucJpToShiftJis("a\xB0\xA1"
                            "b\xA5\xA2"),
            "a\x88\x9F"
            "b\x83\x41");
  EXPECT_EQ(EucJpToShiftJis("\xB0"), "\x30");
}

TEST(FontSizeTablesTest, SizesScaleWithTheDefaultFontSize) {
  TFontSizeTables sizes(12);
  EXPECT_DOUBLE_EQ(sizes.Points(1, TTextKind::Normal), 8);
  EXPECT_DOUBLE_EQ(sizes.Points(7, TTextKind::Normal), 36);
  EXPECT_DOUBLE_EQ(sizes.Points(3, TTextKind::Preformatted), 10);
  EXPECT_DOUBLE_EQ(sizes.Points(9, TTextKind::Normal), 36);
  sizes.SetDefaultFontSize(15);
  EXPECT_DOUBLE_EQ(sizes.Points(3, TTextKind::Normal), 15);
}

TEST(FontSizeTablesTest, RelativeSizesAddToTheBase) {
  EXPECT_EQ(HtmlFontSize("+2", 2, 4), 6);
  EXPECT_EQ(HtmlFontSize("+9", 9, 3), 7);
  EXPECT_EQ(HtmlFontSize("0", 0, 3), 1);
  EXPECT_EQ(HtmlFontSize("-1", -1, 3), 2);
  EXPECT_EQ(HtmlFontSize("5", 5, 3), 5);
  EXPECT_EQ(HtmlFontSize("+", 0, 3), 1);  // a lone sign is no relative size
}

using PropStackTest = TagReaderTest;

TEST_F(PropStackTest, PopRemovesTheTopmostOfThatNameAndReInheritsTheRest) {
  TPropStack stack(Doc->Styles);
  stack.Reset();
  stack.PushElement("b");
  stack.PushElement("span", {.Style = "font-size: 20pt"});
  stack.PushElement("i");
  EXPECT_TRUE(stack.PopElement("b"));
  EXPECT_EQ(stack.Count(), 3u);
  const html::TMyFont top = stack.Last().GetFont();
  EXPECT_FALSE(top.Style & html::fsBold);
  EXPECT_TRUE(top.Style & html::fsItalic);
  EXPECT_EQ(top.Size, 20);
  EXPECT_FALSE(stack.PopElement("b"));
  EXPECT_FALSE(stack.PopElement("default"));  // the root stays
  stack.PopTo(1);
  EXPECT_EQ(stack.Count(), 1u);
}

}  // namespace
}  // namespace tessival::layout::testing
