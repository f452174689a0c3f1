#include "app/service_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

namespace tessival::app {
namespace {

class ServiceTableTest : public ::testing::Test {
 protected:
  void SetUp() override { ::setenv("TESSIVAL_SERVICE_HOST", "h", 1); }
  void TearDown() override { ::unsetenv("TESSIVAL_SERVICE_HOST"); }

  static std::string Address(const char* caption, const std::string& memo) {
    const ServiceRow* row = FindService(caption);
    EXPECT_NE(row, nullptr) << caption;
    return row ? BuildQueryAddress(*row, memo) : "";
  }
};

TEST_F(ServiceTableTest, FifteenRowsInToolbarOrder) {
  const char* captions[] = {"W:DE- EN",  "W:DE-FR",    "T:DE>EN", "T:EN>DE", "Abk\xFCrzungen",
                            "Wikipedia", "Wortschatz", "QA1",     "QA2",     "QA3",
                            "Domain",    "IP-Whois",   "IP-Ort",  "Preise",  "News"};
  ASSERT_EQ(ServiceTable().size(), 15u);
  for (std::size_t i = 0; i < 15; ++i) EXPECT_STREQ(ServiceTable()[i].caption, captions[i]);
}

TEST_F(ServiceTableTest, AddressOfEveryRowForEmptyOneLineAndTwoLineMemos) {
  struct Expected {
    const char* caption;
    const char* empty;
    const char* one_line;   // memo "a b"
    const char* two_lines;  // memo "a" CR LF "b"
  };
  const std::string dict =
      "/?lp=ende&lang=de&searchLoc=0&cmpType=relaxed&relink=on&sectHdr=on&spellToler=std&search=";
  // The table keeps its hand-made columns.
  // clang-format off
  const Expected rows[] = {
      {"W:DE- EN", "", "a%20b", "a\r\nb"},
      {"W:DE-FR", "", "a%20b", "a\r\nb"},
      {"T:DE>EN", "", "a%20b", "a%20%20b"},
      {"T:EN>DE", "", "a%20b", "a%20%20b"},
      {"Abk\xFCrzungen", "", "a%20b", "a\r\nb"},
      {"Wikipedia", "", "a%20b", "a\r\nb"},
      {"Wortschatz", "", "a%20b", "a\r\nb"},
      {"QA1", "", "a+b", "a\r\nb"},
      {"QA2", "", "a+b", "a\r\nb"},
      {"QA3", "", "a+b", "a\r\nb"},
      {"Domain", "", "a%20b", "a\r\nb"},
      {"IP-Whois", "", "a%20b", "a\r\nb"},
      {"IP-Ort", "", "a%20b", "a\r\nb"},
      {"Preise", "", "a+b", "a\r\nb"},
      {"News", "", "", ""},
  };
  // clang-format on
  for (const Expected& e : rows) {
    const ServiceRow& row = *FindService(e.caption);
    const std::string head = std::string("http://h") + row.prefix;
    const std::string tail = row.suffix;
    EXPECT_EQ(Address(e.caption, ""), head + e.empty + tail) << e.caption;
    EXPECT_EQ(Address(e.caption, "a b"), head + e.one_line + tail) << e.caption;
    EXPECT_EQ(Address(e.caption, "a\r\nb"), head + e.two_lines + tail) << e.caption;
  }
}

TEST_F(ServiceTableTest, WorkedExamples) {
  const std::string dict =
      "/?lp=ende&lang=de&searchLoc=0&cmpType=relaxed&relink=on&sectHdr=on&spellToler=std&search=";
  EXPECT_EQ(Address("W:DE- EN", "Haus"), "http://h" + dict + "Haus");
  // The vocabulary service reads its queries as UTF-8 (the byte-wise escapes "Gr%FC%DFe"
  // would reach it as broken text).
  EXPECT_EQ(Address("Wortschatz",
                    "Gr\xFC\xDF"
                    "e aus"),
            "http://h/cgi-bin/wort_www?site=1&Wort=Gr%C3%BC%C3%9Fe%20aus&sprache=de");
  EXPECT_EQ(Address("Wortschatz", ""), "http://h/cgi-bin/wort_www?site=1&Wort=&sprache=de");
  EXPECT_EQ(Address("QA1", "wer ist"), "http://h/startfarm.cgi?query=wer+ist");
  EXPECT_EQ(Address("T:DE>EN", "a\r\nb"), "http://h/translate_t?langpair=de%7Cen&text=a%20%20b");
  EXPECT_EQ(Address("IP-Whois", "1.2.3.4"), "http://h/tools/whois.ch?ip=+1.2.3.4&email=on");
  EXPECT_EQ(Address("News", "ignored text"), "http://h/tick/km/");
}

TEST_F(ServiceTableTest, EveryRowSendsUmlautsSharpSAndEuroInItsOwnSet) {
  const std::string memo =
      "Gr\xFC\xDF"
      "e stra\xDF"
      "e 10 \x80";
  const std::string utf8 = "Gr%C3%BC%C3%9Fe%20stra%C3%9Fe%2010%20%E2%82%AC";
  const std::string utf8_plus = "Gr%C3%BC%C3%9Fe+stra%C3%9Fe+10+%E2%82%AC";
  // The euro sign, byte 128, is one of the bytes the single-byte table copies raw.
  const std::string single = "Gr%FC%DFe%20stra%DFe%2010%20\x80";
  const std::string single_plus = "Gr%FC%DFe+stra%DFe+10+\x80";
  // clang-format off
  const std::pair<const char*, std::string> rows[] = {
      {"W:DE- EN", utf8},      {"W:DE-FR", utf8},      {"T:DE>EN", utf8},    {"T:EN>DE", utf8},
      {"Abk\xFCrzungen", utf8}, {"Wikipedia", utf8},    {"Wortschatz", utf8}, {"QA1", utf8_plus},
      {"QA2", utf8_plus},      {"QA3", utf8_plus},     {"Domain", utf8},     {"IP-Whois", single},
      {"IP-Ort", single},      {"Preise", single_plus}, {"News", ""},
  };
  // clang-format on
  for (const auto& [caption, query] : rows) {
    const ServiceRow& row = *FindService(caption);
    EXPECT_EQ(Address(caption, memo), std::string("http://h") + row.prefix + query + row.suffix)
        << caption;
  }
}

TEST_F(ServiceTableTest, OutputFilesAndTheWikipediaConversion) {
  std::set<std::string> translate_users;
  for (const ServiceRow& row : ServiceTable()) {
    if (std::string(row.output_file) == "translate.htm") translate_users.insert(row.caption);
    if (std::string(row.caption) == "Wikipedia") {
      EXPECT_EQ(row.post_processing, PostProcessing::kConvertUtf8Page);
      EXPECT_STREQ(row.output_file, "wikipediax.htm");
      EXPECT_STREQ(row.shown_file, "wikipedia.htm");
    } else {
      EXPECT_EQ(row.post_processing, PostProcessing::kNone);
      EXPECT_STREQ(row.output_file, row.shown_file);
    }
  }
  EXPECT_EQ(translate_users, (std::set<std::string>{"W:DE- EN", "W:DE-FR", "Abk\xFCrzungen"}));
}

TEST(ServiceHost, RowsShareTheirHostsAndTheEnvironmentReplacesThem) {
  ::unsetenv("TESSIVAL_SERVICE_HOST");
  EXPECT_EQ(ServiceHost(*FindService("W:DE- EN")), ServiceHost(*FindService("W:DE-FR")));
  EXPECT_EQ(ServiceHost(*FindService("IP-Whois")), ServiceHost(*FindService("IP-Ort")));
  EXPECT_NE(ServiceHost(*FindService("QA1")), ServiceHost(*FindService("QA2")));
  ::setenv("TESSIVAL_SERVICE_HOST", "127.0.0.1:8080", 1);
  EXPECT_EQ(BuildQueryAddress(*FindService("News"), ""), "http://127.0.0.1:8080/tick/km/");
  ::setenv("TESSIVAL_SERVICE_HOST", "", 1);
  EXPECT_EQ(ServiceHost(*FindService("News")), FindService("News")->host);
  ::unsetenv("TESSIVAL_SERVICE_HOST");
}

}  // namespace
}  // namespace tessival::app
