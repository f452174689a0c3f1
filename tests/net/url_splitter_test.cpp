#include "net/url_splitter.h"

#include <gtest/gtest.h>

#include "net/base64.h"
#include "net/http_date.h"

namespace tessival::net {
namespace {

struct Split {
  std::string protocol, user, password, host, port, path;
};

void ExpectSplit(const std::string& url, const std::string& base, const Split& expected) {
  const SplitUrl got = ParseURL(url, base);
  EXPECT_EQ(got.protocol, expected.protocol) << url;
  EXPECT_EQ(got.user, expected.user) << url;
  EXPECT_EQ(got.password, expected.password) << url;
  EXPECT_EQ(got.host, expected.host) << url;
  EXPECT_EQ(got.port, expected.port) << url;
  EXPECT_EQ(got.path, expected.path) << url;
}

TEST(ParseURL, AbsoluteAddresses) {
  ExpectSplit("http://U:W@H:8080/a/b?q=1", "", {"http", "U", "W", "H", "8080", "/a/b?q=1"});
  ExpectSplit("http://host", "", {"http", "", "", "host", "", ""});
  ExpectSplit("http://host?x", "", {"http", "", "", "host", "", "?x"});
  ExpectSplit("ftp://me@files/pub/", "", {"ftp", "me", "", "files", "", "/pub/"});
  ExpectSplit("http://u:p:q@h/", "", {"http", "u", "p:q", "h", "", "/"});
  ExpectSplit("", "", {});
}

TEST(ParseURL, LongStandingReadingsOfUnusualForms) {
  // Upper-case letters are no scheme characters: the scheme is taken for a host.
  ExpectSplit("HTTP://Host/x", "", {"http", "", "", "HTTP", "", "//Host/x"});
  ExpectSplit("host.example?x=1", "", {"", "", "", "host.example", "", "?x=1"});
  ExpectSplit("mailto:L@D", "", {"mailto", "L", "", "D", "", ""});
  ExpectSplit("/only/a/path", "", {"http", "", "", "", "", "/only/a/path"});
  ExpectSplit("/", "", {"http", "", "", "", "", "/"});
  ExpectSplit("//h:81/p", "", {"http", "", "", "h", "81", "/p"});
  ExpectSplit("http:/x", "", {"http", "", "", "", "", "/x"});
  ExpectSplit("http:", "", {"http", "", "", "", "", ""});
  ExpectSplit("host:99", "", {"", "", "", "host", "99", ""});
}

TEST(ParseURL, RelativeFormsResolveAgainstTheBasePath) {
  ExpectSplit("./img/a.gif", "/dir/page.htm", {"", "", "", "", "", "/dir/img/a.gif"});
  ExpectSplit("./a.gif", "nodir", {"", "", "", "", "", "/a.gif"});
  ExpectSplit("../a.gif", "/a.htm", {"", "", "", "", "", "/a.gif"});
  ExpectSplit("../../x.html", "/a/b/c.html", {"", "", "", "", "", "/x.html"});
  ExpectSplit("../../../../x", "/a/b/c.html", {"", "", "", "", "", "/x"});
  ExpectSplit("../x?q=/y", "/a/b/c?p=/z/w", {"", "", "", "", "", "/a/x?q=/y"});
}

TEST(BaseDirectory, StopsAtTheQuery) {
  EXPECT_EQ(BaseDirectory("/dir/page.html"), "/dir/");
  EXPECT_EQ(BaseDirectory("/cgi/x?a=/b/c"), "/cgi/");
  EXPECT_EQ(BaseDirectory("mailto:x"), "mailto:");
  EXPECT_EQ(BaseDirectory("page"), "");
}

TEST(DocFileName, FromThePathAndRenamedForHtml) {
  EXPECT_EQ(DocFileNameFromPath("/"), "document.htm");
  EXPECT_EQ(DocFileNameFromPath(""), "document.htm");
  EXPECT_EQ(DocFileNameFromPath("/dir/?q=1"), "document.htm");
  EXPECT_EQ(DocFileNameFromPath("/a/b/page.html?x=/y"), "page.html");
  EXPECT_EQ(DocFileNameFromPath("/" + std::string(300, 'n')), std::string(255, 'n'));
  EXPECT_EQ(AdjustDocFileName("x.exe", "text/html"), "x.htm");
  EXPECT_EQ(AdjustDocFileName("x.EXE", "text/html"), "x.htm");
  EXPECT_EQ(AdjustDocFileName("x", "text/html"), "x.htm");
  EXPECT_EQ(AdjustDocFileName("x.exe", "application/octet-stream"), "x.exe");
  EXPECT_EQ(AdjustDocFileName("x.gif", "text/html"), "x.gif");
}

TEST(Base64, PadsToWholeGroups) {
  EXPECT_EQ(Base64Encode(""), "");
  EXPECT_EQ(Base64Encode("f"), "Zg==");
  EXPECT_EQ(Base64Encode("fo"), "Zm8=");
  EXPECT_EQ(Base64Encode("foo"), "Zm9v");
  EXPECT_EQ(Base64Encode("Aladdin:open sesame"), "QWxhZGRpbjpvcGVuIHNlc2FtZQ==");
  EXPECT_EQ(Base64Encode("user:"), "dXNlcjo=");
  EXPECT_EQ(Base64Encode("\xFF\xFE\xFD"), "//79");
}

TEST(RFC1123Date, FormatsTheStoredValueAsItIs) {
  EXPECT_EQ(RFC1123Date(EncodeDateTime(2005, 1, 3, 10, 20, 30)), "Mon, 03 Jan 2005 10:20:30");
  EXPECT_EQ(RFC1123Date(EncodeDateTime(2026, 12, 7, 23, 59, 59)), "Mon, 07 Dec 2026 23:59:59");
  EXPECT_EQ(RFC1123Date(EncodeDateTime(1899, 12, 30, 0, 0, 0)), "Sat, 30 Dec 1899 00:00:00");
  EXPECT_EQ(RFC1123Date(EncodeDateTime(1850, 6, 1, 12, 0, 0)), "Sat, 01 Jun 1850 12:00:00");
}

}  // namespace
}  // namespace tessival::net
