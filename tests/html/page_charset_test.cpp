// Deciding a fetched page's character set and turning it into the engine's Windows-1252
// text. Byte strings are written with escapes: "\xC3\xBC" is ü in UTF-8, "\xFC" in 1252.
#include "html/page_charset.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "html/page_file.h"
#include "html/html_tokenizer.h"

namespace tessival::html {
namespace {

// "Grüße aus Köln – 10 €" in UTF-8 and in Windows-1252.
const std::string kGreetingUtf8 =
    "Gr\xC3\xBC\xC3\x9F"
    "e aus K\xC3\xB6ln \xE2\x80\x93 10 \xE2\x82\xAC";
const std::string kGreeting1252 =
    "Gr\xFC\xDF"
    "e aus K\xF6ln \x96 10 \x80";

std::string Page(const std::string& head, const std::string& body) {
  return "<html><head>" + head + "</head><body>" + body + "</body></html>";
}

TEST(PageCharsetDetection, EachWayOfDeclaringTheSet) {
  const std::string plain = Page("", kGreetingUtf8);
  EXPECT_EQ(DetectPageCharset(plain, "text/html; charset=UTF-8").source, CharsetSource::kContentType);
  EXPECT_EQ(DetectPageCharset("\xEF\xBB\xBF" + plain, "text/html").source,
            CharsetSource::kByteOrderMark);
  const CharsetDecision meta = DetectPageCharset(Page("<meta charset=\"utf-8\">", kGreetingUtf8), "");
  EXPECT_EQ(meta.source, CharsetSource::kMeta);
  EXPECT_EQ(meta.charset, PageCharset::kUtf8);
  const CharsetDecision equiv = DetectPageCharset(
      Page("<META HTTP-EQUIV='Content-Type' CONTENT='text/html; charset=windows-1251'>", "x"), "");
  EXPECT_EQ(equiv.source, CharsetSource::kMeta);
  EXPECT_EQ(equiv.charset, PageCharset::kWindows1251);
  EXPECT_EQ(DetectPageCharset(plain, "").source, CharsetSource::kUtf8Content);
  const CharsetDecision invalid = DetectPageCharset(Page("", kGreeting1252), "");
  EXPECT_EQ(invalid.source, CharsetSource::kDefault);
  EXPECT_EQ(invalid.charset, PageCharset::kWindows1252);
  EXPECT_EQ(DetectPageCharset(Page("", "only ASCII"), "").charset, PageCharset::kWindows1252);
}

TEST(PageCharsetDetection, StrongerSourcesWinOverWeakerOnes) {
  const std::string meta_1252 = Page("<meta charset=windows-1252>", kGreetingUtf8);
  EXPECT_EQ(DetectPageCharset(meta_1252, "text/html; charset=utf-8").charset, PageCharset::kUtf8);
  EXPECT_EQ(DetectPageCharset(meta_1252, "text/html").charset, PageCharset::kWindows1252);
  EXPECT_EQ(DetectPageCharset("\xEF\xBB\xBF" + meta_1252, "").charset, PageCharset::kUtf8);
  // A name nobody knows is passed over, and the next source decides.
  EXPECT_EQ(DetectPageCharset(meta_1252, "text/html; charset=x-nonsense").source, CharsetSource::kMeta);
  EXPECT_EQ(DetectPageCharset(Page("<meta charset=bogus>", kGreetingUtf8), "").source,
            CharsetSource::kUtf8Content);
}

TEST(PageCharsetDetection, OnlyTheTopOfThePageIsSearchedForMeta) {
  const std::string filler(kMetaSearchLength, ' ');
  EXPECT_FALSE(DeclaredMetaCharset(filler + "<meta charset=windows-1250>").has_value());
  EXPECT_EQ(DeclaredMetaCharset(filler.substr(40) + "<meta charset=windows-1250>"),
            PageCharset::kWindows1250);
  // Read as the tokenizer reads the page: a META inside a comment declares nothing, and a
  // comment still open at the search's end is no fault.
  EXPECT_FALSE(DeclaredMetaCharset("<!-- <meta charset=utf-8> --><p>").has_value());
  EXPECT_FALSE(DeclaredMetaCharset("<!-- open " + filler).has_value());
  // What reaches a tokenizer as bytes is not UTF-16, whatever it says.
  EXPECT_EQ(DeclaredMetaCharset("<meta charset=utf-16>"), PageCharset::kUtf8);
}

TEST(PageCharsetDetection, CharsetParameterOfContentTypes) {
  EXPECT_EQ(CharsetParameter("text/html; charset=UTF-8"), "UTF-8");
  EXPECT_EQ(CharsetParameter("text/html;charset=\"ISO-8859-15\"; q=1"), "ISO-8859-15");
  EXPECT_EQ(CharsetParameter("text/html; CHARSET = 'koi8-r' "), "koi8-r");
  EXPECT_EQ(CharsetParameter("text/html; xcharsetx; charset=cp1252"), "cp1252");
  EXPECT_EQ(CharsetParameter("text/html"), "");
  EXPECT_EQ(CharsetParameter("text/html; charset"), "");
}

TEST(PageCharsetConversion, Utf8BecomesWindows1252AndReferences) {
  EXPECT_EQ(ConvertToEngineText(kGreetingUtf8, PageCharset::kUtf8), kGreeting1252);
  EXPECT_EQ(ConvertToEngineText("\xEF\xBB\xBF"
                                "a",
                                PageCharset::kUtf8),
            "a");
  // A Greek word and an emoji are outside Windows-1252.
  EXPECT_EQ(ConvertToEngineText("\xCE\xB1\xCE\xB2\xCE\xB3", PageCharset::kUtf8),
            "&#x3B1;&#x3B2;&#x3B3;");
  EXPECT_EQ(ConvertToEngineText("\xF0\x9F\x98\x80!", PageCharset::kUtf8), "&#x1F600;!");
}

TEST(PageCharsetConversion, BrokenUtf8BecomesQuestionMarksWithoutLosingWhatFollows) {
  EXPECT_EQ(ConvertToEngineText("cut \xC3", PageCharset::kUtf8), "cut ?");
  EXPECT_EQ(ConvertToEngineText("cut \xF0\x9F\x98", PageCharset::kUtf8), "cut ?");
  EXPECT_EQ(ConvertToEngineText("\xC3"
                                "A",
                                PageCharset::kUtf8),
            "?A");
  EXPECT_EQ(ConvertToEngineText("\xA9 \xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80", PageCharset::kUtf8),
            "? ?? ? ?");  // one mark for each broken sequence
  // Beyond what a five-digit reference can carry.
  EXPECT_EQ(ConvertToEngineText("\xF4\x8F\xBF\xBF", PageCharset::kUtf8), "?");
  // A page cut short is still taken for UTF-8; a wrong byte inside it is not.
  EXPECT_TRUE(LooksLikeUtf8(kGreetingUtf8 + "\xE2\x82"));
  EXPECT_FALSE(LooksLikeUtf8(kGreetingUtf8 + "\xE2"
                                             "x"));
}

TEST(PageCharsetConversion, SingleByteSets) {
  EXPECT_EQ(ConvertToEngineText("\xA4 \xBD \xE4", PageCharset::kIso8859_15), "\x80 \x9C \xE4");
  EXPECT_EQ(ConvertToEngineText("\x80\xA4\xE4", PageCharset::kIso8859_1), "\x80\xA4\xE4");
  // Windows-1250: ł and ä; Windows-1251: € sits at 0x88 there, П at 0xCF.
  EXPECT_EQ(ConvertToEngineText("\xB3\xE4", PageCharset::kWindows1250), "&#x142;\xE4");
  EXPECT_EQ(ConvertToEngineText("\x88\xCF", PageCharset::kWindows1251), "\x80&#x41F;");
  EXPECT_EQ(ConvertToEngineText("\x98", PageCharset::kWindows1251), "?");  // undefined there
  EXPECT_EQ(ConvertToEngineText("\xE1", PageCharset::kWindows1253), "&#x3B1;");
  EXPECT_EQ(ConvertToEngineText("\x82\xA1", PageCharset::kAsDeclared), "\x82\xA1");
}

TEST(PageCharsetConversion, Utf16ByItsByteOrderMark) {
  const PageText le = DecodePage(std::string("\xFF\xFE"
                                             "a\0\xFC\0\xAC\x20\x3D\xD8\x00\xDE",
                                             12),
                                 "");
  EXPECT_EQ(le.decision.charset, PageCharset::kUtf16Le);
  EXPECT_EQ(le.text, "a\xFC\x80&#x1F600;");
  const PageText be = DecodePage(std::string("\xFE\xFF\0a\xD8\x3D\0b\0", 9), "");
  EXPECT_EQ(be.text, "a?b?");  // a lone surrogate and half a unit
}

TEST(PageCharsetConversion, ReferencesReadBackAsTheCharactersInTheirCodePage) {
  const std::string text = ConvertToEngineText(kGreetingUtf8 + " \xCE\xB1\xCE\xB2", PageCharset::kUtf8);
  THtmlTokenizer reader;
  reader.Reset(text);
  reader.SetTextCodePage(1253);
  reader.ReadChar();
  std::string read;
  for (reader.ReadToken(); reader.Sy() != EofToken; reader.ReadToken()) read += reader.Token().Text();
  EXPECT_EQ(read, kGreeting1252 + " \xE1\xE2");
}

TEST(PageCharsetConversion, OverrideAndLabels) {
  const PageText forced = DecodePage(kGreetingUtf8, "text/html; charset=utf-8",
                                     PageCharset::kWindows1252);
  EXPECT_EQ(forced.decision.source, CharsetSource::kOverride);
  EXPECT_EQ(forced.text, kGreetingUtf8);
  EXPECT_EQ(PageCharsetOfLabel(" \"Latin1\" "), PageCharset::kIso8859_1);
  EXPECT_EQ(PageCharsetOfLabel("ISO-8859-7"), PageCharset::kAsDeclared);
  EXPECT_EQ(PageCharsetOfLabel("Shift_JIS"), PageCharset::kAsDeclared);
  EXPECT_FALSE(PageCharsetOfLabel("").has_value());
}

class PageFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("tessival-page-file-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    page_ = (dir_ / "answer.htm").string();
    std::ofstream(page_, std::ios::binary) << Page("<meta charset=windows-1252>", kGreetingUtf8);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::filesystem::path dir_;
  std::string page_;
};

TEST_F(PageFileTest, TheTypeKeptBesideThePageDecides) {
  EXPECT_EQ(LoadPageText(page_)->decision.charset, PageCharset::kWindows1252);
  ASSERT_TRUE(KeepContentTypeBeside(page_, "text/html; charset=utf-8"));
  EXPECT_EQ(ReadContentTypeBeside(page_), "text/html; charset=utf-8");
  const std::optional<PageText> loaded = LoadPageText(page_);
  EXPECT_EQ(loaded->decision.source, CharsetSource::kContentType);
  EXPECT_NE(loaded->text.find(kGreeting1252), std::string::npos);
  EXPECT_EQ(LoadPageText(page_, PageCharset::kIso8859_15)->decision.source, CharsetSource::kOverride);
  ASSERT_TRUE(KeepContentTypeBeside(page_, ""));
  EXPECT_FALSE(std::filesystem::exists(ContentTypeFileName(page_)));
  EXPECT_FALSE(LoadPageText((dir_ / "missing.htm").string()).has_value());
}

}  // namespace
}  // namespace tessival::html
