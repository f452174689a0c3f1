// Pages read by the tag reader, laid out on the test canvas and compared as dumps with the
// files in tests/layout/expected/ (html_<name>.txt). Each page shows one rule.
#include <gtest/gtest.h>

#include <string>

#include "layout/layout_dump.h"
#include "layout/section_list.h"
#include "reader/tag_reader.h"
#include "layout_fixture.h"
#include "platform/test_canvas.h"

namespace tessival::layout::testing {
namespace {

// 12-point text on the test canvas: 16 pixels high, 8 wide; body margins 10 and 5.
// The table keeps its hand-made columns.
// clang-format off
const Page Pages[] = {
    {"spaces", 120, "<p>  Hallo   Welt  </p><p>eins zwei drei&nbsp;vier</p>"},
    {"break_at_start", 300, "<p><br>zweite Zeile<br><br>vierte</p>"},
    {"long_word", 100, "<p>ab Donaudampfschifffahrtsgesellschaft cd</p>"},
    {"hyphen_question", 100,
     "<p>Ost-West-Achse wer?wie?was</p><p><nobr>Ost-West-Achse wer?wie?was</nobr></p>"},
    {"justify", 230, "<p align=justify>Es war einmal ein kleines Dorf am Rand des Waldes, "
                     "in dem ein alter M&uuml;ller lebte.</p>"},
    {"alignment", 300,
     "<h1 align=center>Titel</h1><p align=right>rechts</p><p align=center>Mitte</p><p>links</p>"},
    {"mixed_heights", 400, "<p>klein <font size=6>GROSS</font> klein <small>winzig</small></p>"},
    {"font_changes", 400,
     "<p>normal <b>fett <i>fett und kursiv</i></b> <tt>fest</tt> <u>unter</u><sub>tief</sub>"
     "<sup>hoch</sup></p>"},
    {"links", 300, "<p>Siehe <a href=\"ziel.htm\">das <b>Ziel</b></a> und <a name=marke>hier</a>.</p>"},
    {"headings", 300, "<h1>&Uuml;berschrift</h1><p>Absatz eins</p><h2>Zwei</h2><p>Absatz zwei</p>"},
    {"paragraph_space", 300, "Text ohne Absatz<p>erster</p><p></p><p>dritter</p>danach"},
};
// clang-format on

class HtmlLayout : public ::testing::TestWithParam<Page> {};

TEST_P(HtmlLayout, DumpMatchesTheExpectedFile) {
  const Page& page = GetParam();
  ExpectMatchesFile(std::string("html_") + page.name, DumpOfPage(page));
}

INSTANTIATE_TEST_SUITE_P(Pages, HtmlLayout, ::testing::ValuesIn(Pages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessival::layout::testing

namespace tessival::layout::testing {
namespace {

// A page read from HTML, laid out and painted on the test canvas.
class HtmlPage : public ::testing::Test {
 protected:
  void Read(std::string_view html, int width) {
    doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
    ParseDocument(html, doc);
    int pos = 0, maxWidth = 0;
    doc.Layout(canvas, 0, pos, maxWidth, 300, width);
  }
  TSectionList doc;
  platform::TestCanvas canvas{300, 100};
};

TEST_F(HtmlPage, HitTestsAtTheEdgesOfLines) {
  Read("<p>eins zwei drei</p>", 100);  // "eins zwei " at y 19, "drei" at y 35
  doc.Paint(canvas, {0, 0, 300, 100}, 0);
  bool inside = false;
  int height = 0, top = 0, charX = 0;
  const auto at = [&](int x, int y) {
    return doc.PositionAtPoint(canvas, x, y, inside, height, top, charX);
  };
  EXPECT_EQ(at(10, 20), 0);  // the first pixel of the first line
  EXPECT_TRUE(inside);
  EXPECT_EQ(at(89, 20), 10);  // the last pixel of the line: after its trailing space
  EXPECT_EQ(at(10, 34), 0);   // the last row of the first line
  EXPECT_EQ(at(10, 35), 10);  // the first row of the second
  EXPECT_EQ(top, 35);
  EXPECT_EQ(at(41, 40), 14);  // past the end of "drei": its end
  EXPECT_EQ(at(9, 40), -1);   // left of the text
  EXPECT_EQ(at(91, 40), -1);  // right of the line
  std::string title;
  TFormControlObj* control = nullptr;
  std::unique_ptr<html::TUrlTarget> link;
  EXPECT_EQ(doc.FindLink(canvas, 12, title, control, link, 20), 0);
}

}  // namespace
}  // namespace tessival::layout::testing
