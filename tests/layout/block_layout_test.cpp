// Blocks, lists, floats, rules and preformatted text read from HTML, laid out on the test
// canvas and compared as dumps with tests/layout/expected/block_<name>.txt. Each page
// shows one rule of the box model.
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
// clang-format off
const Page Pages[] = {
    // Adjoining margins: 10/20 -> 20, -5/20 -> 15, -5/-10 -> -10.
    {"margins_collapse", 200,
     "<div style='margin-bottom:10px'>a</div><div style='margin-top:20px'>b</div>"
     "<div style='margin-bottom:-5px'>c</div><div style='margin-top:20px'>d</div>"
     "<div style='margin-bottom:-5px'>e</div><div style='margin-top:-10px'>f</div>"},
    // The first paragraph of an item starts at its top; the first in the body keeps its space.
    {"first_paragraph", 300, "<p>body</p><ul><li><p>item</p></ul>"},
    {"float_left", 300,
     "<div style='float:left;width:100px'>Kasten</div><p>Der Text fliesst rechts am Kasten "
     "vorbei und kehrt darunter auf die volle Breite zurueck, wenn er lang genug ist.</p>"},
    {"float_right", 300,
     "<div style='float:right;width:80px;height:40px'>R</div>links neben dem rechten Kasten und weiter"},
    {"clear_both", 300,
     "<div style='float:left;width:50px;height:30px'>L</div>"
     "<div style='float:right;width:50px;height:60px'>R</div>"
     "<div style='clear:both'>unter beiden</div>"},
    {"box_model", 300,
     "<div style='border:3px solid red;padding:5px;margin:0 20px;width:100px;height:50px'>Box</div>"
     "<div style='width:100px;margin-left:auto;margin-right:auto'>Mitte</div>"
     "<div style='width:100px;margin-left:auto'>rechts</div>"},
    {"positioned", 300,
     "<p>davor</p><div style='position:absolute;top:40px;left:50px;width:60px'>weg</div>"
     "<p>danach</p><div style='position:relative;top:5px;left:7px'>verschoben</div>"},
    {"display_none", 300, "<p>eins</p><div style='display:none'><p>nicht da</p></div><p>zwei</p>"},
    {"nested_lists", 400,
     "<ul><li>eins<ul><li>zwei<ul><li>drei<ul><li>vier</ul></ul></ul></ul>"
     "<ul type=none><li>ohne</ul><li>frei"},
    {"ordered_lists", 400,
     "<ol start=19 type=i><li>a<li>b<li>c</ol><ol start=25 type=A><li>y<li>z<li>ueber</ol>"
     "<ol><li>x<li value=10>zehn<li>elf</ol><ol start=3 type=a><li>c</ol>"},
    {"definition_list", 400, "<dl><dt>Begriff<dd>Erklaerung dazu</dl><blockquote>Zitat</blockquote>"},
    {"rules", 600,
     "<hr><hr size=30><hr size=1 width=50%><hr width=100 align=left noshade>"
     "<hr width=120 align=right color=red><hr width=200%>"},
    {"pre", 200, "<pre>\n  zwei Leerzeichen\n\n\tTab\neine sehr lange Zeile, die nicht umbricht</pre>nach"},
    // Tabs move to the next multiple of eight columns, counted across a font change.
    {"pre_tabs", 300, "<pre>a\tb\nabcdefgh\tc\n<b>x</b>\ty\t\tz</pre>"},
    {"empty_list", 300, "<p>vor</p><ul></ul><p>nach</p>"},
};
// clang-format on

class BlockLayout : public ::testing::TestWithParam<Page> {};

TEST_P(BlockLayout, DumpMatchesTheExpectedFile) {
  const Page& page = GetParam();
  ExpectMatchesFile(std::string("block_") + page.name, DumpOfPage(page));
}

INSTANTIATE_TEST_SUITE_P(Pages, BlockLayout, ::testing::ValuesIn(Pages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessival::layout::testing
