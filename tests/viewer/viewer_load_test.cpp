// Loading pages into a viewer: properties, the head's events, failures, anchors and links.
#include "viewer_fixture.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "viewer/fv_load_error.h"

namespace tessival::viewer::testing {
namespace {

using ViewerLoadTest = ViewerTest;

TEST_F(ViewerLoadTest, PropertiesKeepTheirLimits) {
  viewer.SetImageCacheCount(50);
  EXPECT_EQ(viewer.ImageCacheCount(), 20);
  viewer.SetImageCacheCount(-3);
  EXPECT_EQ(viewer.ImageCacheCount(), 0);
  viewer.SetDefFontSize(3);
  EXPECT_EQ(viewer.DefFontSize(), 6);
  viewer.SetHistoryMaxCount(-1);
  EXPECT_EQ(viewer.HistoryMaxCount(), 0);
  viewer.SetServerRoot("/srv/pages/");
  EXPECT_EQ(viewer.ServerRoot(), "/srv/pages");
}

TEST_F(ViewerLoadTest, LoadBracketsItselfWithProcessingAndProgress) {
  std::vector<std::string> calls;
  viewer.OnProcessing = [&calls](bool on) { calls.push_back(on ? "busy" : "idle"); };
  viewer.OnProgress = [&calls](int stage, int percent) {
    calls.push_back(std::to_string(stage) + "/" + std::to_string(percent));
  };
  viewer.OnParseBegin = [&calls](std::string& source) {
    calls.push_back("parse");
    source = "<title>Replaced</title><p>other text";
  };
  viewer.LoadFromFile(DataFile("sample_page.html"));
  EXPECT_EQ(calls, (std::vector<std::string>{"busy", "0/0", "parse", "2/100", "idle"}));
  EXPECT_EQ(viewer.DocumentTitle(), "Replaced");
  EXPECT_FALSE(viewer.Busy());
}

TEST_F(ViewerLoadTest, MissingFileKeepsTheShownDocument) {
  viewer.LoadFromFile(DataFile("sample_page.html"));
  viewer.ScrollToY(200);
  const int height = viewer.DocHeight();
  try {
    viewer.LoadFromFile("no_such_page.html");
    FAIL() << "no error";
  } catch (const EfvLoadError& error) {
    EXPECT_STREQ(error.what(), "Can't locate file: no_such_page.html");
  }
  EXPECT_FALSE(viewer.Busy());
  EXPECT_EQ(viewer.DocumentTitle(), "Beispielseite");
  EXPECT_EQ(viewer.DocHeight(), height);
  EXPECT_EQ(viewer.VScrollBarPosition(), 200);
  EXPECT_GE(viewer.Document().FindText(0, "Abschnitt 3", true), 0);
}

TEST_F(ViewerLoadTest, MetaRefreshIsReportedAfterTheLoad) {
  std::vector<std::pair<int, std::string>> refreshes;
  viewer.OnMetaRefresh = [&](int delay, const std::string& url) {
    EXPECT_FALSE(viewer.Busy()) << "the handler may load the next page";
    refreshes.emplace_back(delay, url);
  };
  viewer.LoadFromString("<meta http-equiv=\"Refresh\" content=\"0; URL=Next.htm\"><p>x");
  viewer.LoadFromString("<meta http-equiv=\"refresh\" content=\"later; url=x.htm\"><p>x");
  ASSERT_EQ(refreshes.size(), 1U);
  EXPECT_EQ(refreshes[0], (std::pair<int, std::string>(1, "Next.htm")));
  EXPECT_EQ(viewer.RefreshSeconds(), 0);
}

TEST_F(ViewerLoadTest, HeadElementsReachTheirEvents) {
  std::vector<std::string> seen;
  viewer.OnMeta = [&](const std::string& eq, const std::string& name, const std::string& content) {
    seen.push_back("meta " + eq + "|" + name + "|" + content);
  };
  viewer.OnLink = [&](const std::string& rel, const std::string& rev, const std::string& href) {
    seen.push_back("link " + rel + "|" + rev + "|" + href);
  };
  viewer.OnSoundRequest = [&](const std::string& src, int loop, bool terminate) {
    seen.push_back("sound " + src + "|" + std::to_string(loop) + (terminate ? "|stop" : ""));
  };
  viewer.OnScript = [&](const std::string& name, const std::string& language,
                        std::unique_ptr<char[]> script) {
    seen.push_back("script " + name + "|" + language + "|" + script.get());
  };
  viewer.LoadFromString(
      "<head><base href=\"http://host/dir/\" target=\"main\"><meta name=\"author\" content=\"Eva\">"
      "<link rel=\"next\" href=\"p2.htm\"><bgsound src=\"a.wav\" loop=3>"
      "<script language=\"JavaScript\" name=\"s1\">if (a < b)\r\n  go();</script></head><p>text");
  EXPECT_EQ(seen,
            (std::vector<std::string>{"sound |0|stop", "meta |author|Eva", "link next||p2.htm",
                                      "sound a.wav|3", "script s1|JavaScript|if (a <b)\r\n  go();"}));
  EXPECT_EQ(viewer.DocumentBase(), "http://host/dir/");
  EXPECT_EQ(viewer.DocumentBaseTarget(), "main");
  EXPECT_EQ(viewer.DocumentFile(), "");
  EXPECT_GE(viewer.Document().FindText(0, "text", true), 0) << "the script's text is not shown";
}

TEST_F(ViewerLoadTest, LinkedStyleSheetIsReadAndAMissingOneIgnored) {
  const auto dir = std::filesystem::temp_directory_path() / "tessival_viewer_sheet";
  std::filesystem::create_directories(dir);
  { std::ofstream(dir / "look.css") << "p { font-size: 40pt }\n"; }
  { std::ofstream(dir / "page.html") << "<link rel=stylesheet href=\"look.css\"><p>big"; }
  { std::ofstream(dir / "plain.html") << "<link rel=stylesheet href=\"gone.css\"><p>big"; }
  viewer.LoadFromFile((dir / "plain.html").string());
  const int plain_height = viewer.DocHeight();
  viewer.LoadFromFile((dir / "page.html").string());
  EXPECT_GT(viewer.DocHeight(), plain_height + 20);
  std::filesystem::remove_all(dir);
}

// A sheet is read only from a regular file of at most 4 MB, and not at all when the host
// says the page reads no local files (a page from the web).
TEST_F(ViewerLoadTest, LinkedStyleSheetsAreBoundedAndCanBeTurnedOff) {
  const auto dir = std::filesystem::temp_directory_path() / "tessival_viewer_sheet_limits";
  std::filesystem::create_directories(dir);
  const auto sheet = [&dir](const std::string& name, std::uintmax_t size) {
    { std::ofstream(dir / name) << "p { font-size: 40pt }\n"; }
    if (size > 0) std::filesystem::resize_file(dir / name, size);  // sparse: NULs after the rule
  };
  sheet("look.css", 0);
  sheet("limit.css", std::uintmax_t{4} << 20);
  sheet("past.css", (std::uintmax_t{4} << 20) + 1);
  ASSERT_EQ(::mkfifo((dir / "fifo.css").c_str(), 0600), 0);
  { std::ofstream(dir / "plain.html") << "<p>big"; }
  viewer.LoadFromFile((dir / "plain.html").string());
  const int plain_height = viewer.DocHeight();
  const struct {
    const char* sheet;
    bool local_sheets, applied;
  } cases[] = {
      {"look.css", true, true},  {"look.css", false, false}, {"limit.css", true, true},
      {"past.css", true, false}, {"fifo.css", true, false},
  };
  for (const auto& c : cases) {
    const std::string page = std::string("page-") + c.sheet + (c.local_sheets ? "" : "-off") + ".html";
    { std::ofstream(dir / page) << "<link rel=stylesheet href=\"" << c.sheet << "\"><p>big"; }
    viewer.LocalStyleSheets = c.local_sheets;
    viewer.LoadFromFile((dir / page).string());
    EXPECT_EQ(viewer.DocHeight() > plain_height + 20, c.applied) << page;
  }
  viewer.LocalStyleSheets = true;
  std::filesystem::remove_all(dir);
}

// A file is shown in the set it is in: UTF-8 content, the type kept beside it, or the set
// the caller names; a META declaration of the converted page no longer switches the set.
TEST_F(ViewerLoadTest, FilesAreReadInTheirOwnCharacterSet) {
  const auto dir = std::filesystem::temp_directory_path() / "tessival_viewer_charset";
  std::filesystem::create_directories(dir);
  const std::string words =
      "Gr\xC3\xBC\xC3\x9F"
      "e aus K\xC3\xB6ln \xE2\x80\x93 10 \xE2\x82\xAC";
  const std::string shown =
      "Gr\xFC\xDF"
      "e aus K\xF6ln \x96 10 \x80";
  { std::ofstream(dir / "utf8.html", std::ios::binary) << "<p>" << words; }
  {
    std::ofstream(dir / "latin.html", std::ios::binary)
        << "<meta http-equiv=Content-Type content=\"text/html; charset=windows-1250\"><p>\xB3";
    std::ofstream(dir / "latin.html.content-type") << "text/html; charset=iso-8859-1";
  }
  viewer.LoadFromFile((dir / "utf8.html").string());
  viewer.SelectAll();
  EXPECT_EQ(viewer.SelText(), shown + "\r\n");

  // The header's ISO-8859-1 wins over the META: byte B3 is the superscript three.
  viewer.LoadFromFile((dir / "latin.html").string());
  viewer.SelectAll();
  EXPECT_EQ(viewer.SelText(), "\xB3\r\n");

  // Named by the caller: the UTF-8 bytes read as Windows-1252 stay as they are.
  viewer.SetForcedCharset(html::PageCharset::kWindows1252);
  viewer.LoadFromFile((dir / "utf8.html").string());
  viewer.SelectAll();
  EXPECT_EQ(viewer.SelText(), words + "\r\n");
  std::filesystem::remove_all(dir);
}

class ViewerLinkTest : public ViewerTest {
 protected:
  void SetUp() override {
    viewer.SetHistoryMaxCount(10);
    viewer.LoadFromFile(DataFile("sample_page.html"));
    PaintNow();
  }
  void ClickLinkText(const std::string& text) {
    Click(PointOfText(text, 1));
    PaintNow();
  }
};

TEST_F(ViewerLinkTest, AnchorLinksJumpAndRecordHistoryOnlyWhenMoved) {
  ClickLinkText("Sprung ans Ende");
  EXPECT_GT(viewer.VScrollBarPosition(), 0);
  EXPECT_EQ(viewer.History().size(), 2U);
  ClickLinkText("Nach oben");
  const html::TIDObject* top = viewer.Document().IDNameList.Find("TOP");
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(viewer.VScrollBarPosition(), top->YPosition()) << "#top found as TOP";
  EXPECT_EQ(viewer.History().size(), 3U);
  EXPECT_TRUE(viewer.JumpToAnchor("#TOP"));
  EXPECT_FALSE(viewer.JumpToAnchor("#nirgends"));
  EXPECT_FALSE(viewer.JumpToAnchor(""));
  const auto count = viewer.History().size();
  ClickLinkText("Nach oben");
  EXPECT_EQ(viewer.History().size(), count) << "already at the top: nothing to record";
}

TEST_F(ViewerLinkTest, LinkToAnotherPageLoadsItAndJumpsBack) {
  const std::string first = viewer.DocumentFile();
  ClickLinkText("zweites Dokument");
  EXPECT_EQ(viewer.DocumentTitle(), "Zweite Seite");
  EXPECT_EQ(viewer.DocumentFile(),
            std::filesystem::path(DataFile("second.html")).lexically_normal().string());
  ASSERT_EQ(viewer.History().size(), 2U);
  EXPECT_EQ(viewer.History()[1].File, first);
  ClickLinkText("ersten Seite");
  EXPECT_EQ(viewer.DocumentFile(), first);
  EXPECT_GT(viewer.VScrollBarPosition(), 0) << "and jumped to the anchor";
  EXPECT_EQ(viewer.VisitedList().front(), first + "#ende");
}

TEST_F(ViewerLinkTest, LinkToATextFileDoesNothingAndToAPictureShowsIt) {
  const std::string first = viewer.DocumentFile();
  ClickLinkText("Textverweis");
  EXPECT_EQ(viewer.DocumentFile(), first);
  EXPECT_EQ(viewer.DocumentKind(), dkHtml);
  const auto picture = std::filesystem::temp_directory_path() / "tessival_viewer_link.jpeg";
  { std::ofstream(picture) << "not really a picture"; }
  viewer.LoadFromString("<a href=\"" + picture.string() + "\">Bild</a>");
  PaintNow();
  Click(PointOfText("Bild", 1));
  EXPECT_EQ(viewer.DocumentKind(), dkImage);
  EXPECT_EQ(viewer.DocumentFile(), picture.string());
  std::filesystem::remove(picture);
}

TEST_F(ViewerLinkTest, MissingLinkedPageIsReportedAndThePageStays) {
  viewer.LoadFromString("<a href=\"/nowhere/gone.html\">weg</a>");
  PaintNow();
  Click(PointOfText("weg", 1));
  EXPECT_GE(viewer.Document().FindText(0, "weg", true), 0);
  EXPECT_FALSE(viewer.Busy());
}

TEST_F(ViewerLinkTest, VisitedLinksAreMarkedAcrossLoads) {
  ClickLinkText("zweites Dokument");
  viewer.LoadFromFile(DataFile("sample_page.html"));
  bool marked = false;
  for (const layout::TFontObj* link : viewer.Document().LinkList()) {
    if (link->UrlTarget.Url() == "second.html") marked = link->Visited;
  }
  EXPECT_TRUE(marked);
}

TEST_F(ViewerLinkTest, ClearEmptiesTheViewer) {
  viewer.ScrollToY(100);
  viewer.Clear();
  EXPECT_EQ(viewer.DocumentTitle(), "");
  EXPECT_FALSE(viewer.VScrollBar().isVisible());
  EXPECT_TRUE(viewer.Document().Empty());
  PaintNow();
}

}  // namespace
}  // namespace tessival::viewer::testing

namespace tessival::viewer::testing {
namespace {

using ViewerFormTest = ViewerTest;

TEST_F(ViewerFormTest, SubmitReachesItsHandlerOnlyAfterTheCallerReturns) {
  std::vector<std::string> got;
  viewer.OnFormSubmit = [&got](const std::string& action, const std::string&, const std::string&,
                               const std::string& method, const std::vector<std::string>& results) {
    got.push_back(method + " " + action + " " + results.at(0));
  };
  viewer.SubmitForm("find.cgi", "", "", "GET", {"q=Wort"});
  EXPECT_TRUE(got.empty());
  QCoreApplication::processEvents();
  EXPECT_EQ(got, (std::vector<std::string>{"GET find.cgi q=Wort"}));
}

TEST_F(ViewerFormTest, FocusedControlOutOfSightIsCentred) {
  viewer.LoadFromFile(DataFile("sample_page.html"));
  viewer.FormControlIntoView(100);
  EXPECT_EQ(viewer.VScrollBarPosition(), 0) << "already in sight";
  viewer.FormControlIntoView(1200);
  EXPECT_EQ(viewer.VScrollBarPosition(), 1200 - viewer.height() / 2);
}

}  // namespace
}  // namespace tessival::viewer::testing
