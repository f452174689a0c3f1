#include "html/url_helpers.h"

#include <gtest/gtest.h>

namespace tessival::html {
namespace {

TEST(CombineUrl, RelativeAbsoluteAndDotForms) {
  struct Case {
    const char* base;
    const char* link;
    const char* result;
  };
  for (const Case& c : {
           Case{"http://h/a/b/", "../c", "http://h/a/c"},
           Case{"http://h/a/b/", "/x/y", "http://h/x/y"},
           Case{"http://h/a/b/", "./z", "http://h/a/b/z"},
           Case{"http://h/a/b/", "", "http://h/a/b/"},
           Case{"http://h/a/b/", "  q.htm \r\n", "http://h/a/b/q.htm"},
           Case{"http://h/a/b/", "#frag", "http://h/a/b/#frag"},
           Case{"http://h/a/b/", "../../../../x", "http://h/x"},
           Case{"http://h/a/b", "c", "http://h/a/b/c"},
           Case{"http://h", "p.htm", "http://h/p.htm"},
           Case{"http://h", "/p.htm", "http://h/p.htm"},
           Case{"http://h/", "/../x", "http://h/x"},
           Case{"http://h/a/", "././b/./c", "http://h/a/b/c"},
           Case{"http://h/a/", "//other/x", "http://other/x"},
           Case{"dir/sub/", "../p.htm", "dir/p.htm"},
           Case{"page", "x", "page/x"},
       }) {
    SCOPED_TRACE(std::string(c.base) + " + " + c.link);
    EXPECT_EQ(CombineUrl(c.base, c.link), c.result);
  }
}

TEST(GetBase, EndsAtTheLastSlashOfThePath) {
  EXPECT_EQ(GetBase("http://host"), "http://host/");
  EXPECT_EQ(GetBase("http://host/dir/page.htm?x=1/2"), "http://host/dir/");
  EXPECT_EQ(GetBase("  http://host/dir/  "), "http://host/dir/");
  EXPECT_EQ(GetBase("http://a/"), "http://a/");
  EXPECT_EQ(GetBase("dir/page.htm"), "dir/");
  EXPECT_EQ(GetBase("page.htm"), "page.htm/");
  EXPECT_EQ(GetBase(""), "/");
}

TEST(IsFullUrl, NeedsASchemeBeforeThePathOrAMailLink) {
  EXPECT_TRUE(IsFullUrl("http://h/x"));
  EXPECT_TRUE(IsFullUrl("MAILTO:someone"));
  EXPECT_FALSE(IsFullUrl("dir/page.htm"));
  EXPECT_FALSE(IsFullUrl("a/b://c"));
  EXPECT_FALSE(IsFullUrl(""));
}

TEST(UrlToFileName, MapsFileUrlsAndDrivesToPosixPaths) {
  EXPECT_EQ(UrlToFileName("file:///C|/my%20dir/a.htm"), "/my dir/a.htm");
  EXPECT_EQ(UrlToFileName("FILE:///home/u/a.htm"), "/home/u/a.htm");
  EXPECT_EQ(UrlToFileName("c:\\pages\\a.htm"), "/pages/a.htm");
  EXPECT_EQ(UrlToFileName("dir/a%41.htm"), "dir/aA.htm");
  EXPECT_EQ(UrlToFileName("a%zz%41/b"), "a%zz%41/b");  // stops at the first bad escape
  EXPECT_EQ(UrlToFileName("%41/b"), "%41/b");          // a leading % is left alone
  EXPECT_EQ(UrlToFileName("a%4"), "a%4");
  EXPECT_EQ(UrlToFileName("plain.htm"), "plain.htm");
}

TEST(ExpandFileName, PutsRootRelativeLinksUnderTheBasePath) {
  EXPECT_EQ(ExpandFileName(" /pics/a.gif ", "/srv/www/"), "/srv/www/pics/a.gif");
  EXPECT_EQ(ExpandFileName("pics/a.gif", "/srv/www"), "pics/a.gif");
  EXPECT_EQ(ExpandFileName("file:///tmp/a.gif", "/srv/www"), "/tmp/a.gif");
  EXPECT_EQ(ExpandFileName("file:///C|/a.gif", "/srv/www"), "/a.gif");
  EXPECT_EQ(ExpandFileName("//server/a.gif", "/srv/www"), "//server/a.gif");
  EXPECT_EQ(ExpandFileName("/a.gif", ""), "/a.gif");
  EXPECT_EQ(ExpandFileName("   ", "/srv"), "");
}

}  // namespace
}  // namespace tessival::html
