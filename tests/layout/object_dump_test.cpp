// Pictures and panels in the layout dump: where each box stands, its size, alignment,
// spaces and link border, for inline and floating objects alike.
#include <string>

#include "layout_fixture.h"

namespace tessival::layout::testing {
namespace {

TEST(ObjectDump, InlineAndFloatingPicturesShowTheirBoxesAlignmentSpacesAndBorder) {
  const Page page{
      "objects", 300,
      "<p><img align=left width=30 height=30 vspace=4>ab <img width=40 height=20 hspace=2> cd "
      "<a href=x><img width=10 height=10 align=top></a> "
      "<img width=8 height=40 align=middle border=0> ef"
      "<img align=right width=50 height=10></p>"};
  ExpectMatchesFile("object_dump", DumpOfPage(page));
}

TEST(ObjectDump, APanelIsListedWithItsBox) {
  const Page page{"panel", 300, "<p>vor <panel width=60 height=30 hspace=5> nach</p>"};
  const std::string dump = DumpOfPage(page);
  EXPECT_NE(dump.find("Panel x="), std::string::npos) << dump;
  EXPECT_NE(dump.find(" w=60 h=30 align=bottom hspace=5,5\n"), std::string::npos) << dump;
}

}  // namespace
}  // namespace tessival::layout::testing
