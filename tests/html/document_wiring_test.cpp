// Where the style layer and the document support types meet: a STYLE attribute read into
// properties, and url() values made absolute by the document's own link rules.
#include <gtest/gtest.h>

#include "html/attribute_list.h"
#include "html/css_parser.h"
#include "html/document_url_resolver.h"
#include "style_fixture.h"

namespace tessival::html::testing {
namespace {

TEST(StyleAttributeOfAnElement, IsReadAfreshOnEveryCall) {
  TAttributeList list;
  EXPECT_EQ(list.GetStyle(), nullptr);
  list.Add(StyleSy, 0, "color: red; font-size: 12pt");
  const TProperties* first = list.GetStyle();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Str(first->Prop(piColor)), Int(0x0000FF));
  EXPECT_EQ(Str(first->Prop(piFontSize)), "12pt");
  list.Clear();
  list.Add(StyleSy, 0, "color: blue");
  const TProperties* second = list.GetStyle();
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(Str(second->Prop(piColor)), Int(0xFF0000));
  EXPECT_TRUE(IsEmpty(second->Prop(piFontSize)));
}

class DocumentUrls : public StyleFixture {
 protected:
  std::string BackgroundOf(std::string_view text, std::string_view base) {
    Styles.Initialize(Defaults);
    TStringCharSource source(text);
    char ch = ' ';
    ParseStyleSheet(Styles, ch, source, base, &urls_);
    const TProperties* props = Styles.Find("p");
    return props ? Str(props->Prop(piBackgroundImage)) : "no rule";
  }
  const DocumentUrlResolver urls_{};
};

TEST_F(DocumentUrls, StyleSheetUrlsFollowTheDocumentsLinkRules) {
  EXPECT_EQ(BackgroundOf("p { background-image: url(../img/b.gif) }", "http://h/site/css/"),
            "url(http://h/site/img/b.gif)");
  EXPECT_EQ(BackgroundOf("p { background-image: url(http://o/a.gif) }", "http://h/"),
            "url(http://o/a.gif)");
  EXPECT_EQ(BackgroundOf("p { background-image: url(img/b.gif) }", "/home/user/site/"),
            "url(/home/user/site/img/b.gif)");
}

}  // namespace
}  // namespace tessival::html::testing
