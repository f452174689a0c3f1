// The window's rules apart from the window: failures in words, the working folder, and the
// toolkit's German texts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>

#include "app/fetch_failure_page.h"
#include "app/toolkit_translations.h"
#include "app/window_placement.h"
#include "app/working_folder.h"
#include "scratch_directory.h"
#include "tests/widgets/qt_app_fixture.h"

namespace tessival::app {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
namespace fs = std::filesystem;

TEST(FetchFailurePage, EachFailureIsToldInWordsAndOnlyTheServersOwnBringsItsPage) {
  struct Case {
    int status;
    const char* reason;
    const char* words;
    bool server_answer;
  };
  const Case cases[] = {
      {404, "can't connect: Connection refused (Error #10061)",
       "Der Server hat die Verbindung abgelehnt", false},
      {404, "can't resolve hostname to IP address", "Der Name des Servers wurde nicht gefunden", false},
      {404, "Connection timed out (Error #10060)",
       "Der Server hat nicht rechtzeitig geantwortet (Zeit\xFC"
       "berschreitung)",
       false},
      {404, "certificate verify failed: certificate has expired",
       "Das Zertifikat des Servers ist abgelaufen", false},
      {404, "certificate verify failed: self-signed certificate",
       "Das Zertifikat des Servers ist selbst ausgestellt und nicht vertrauensw\xFC"
       "rdig",
       false},
      {404, "Not Found", "Die Seite wurde auf dem Server nicht gefunden (404 Not Found)", true},
      {503, "",
       "Der Dienst ist zurzeit nicht verf\xFC"
       "gbar (503)",
       true},
      {418, "I'm a teapot", "Der Server meldet einen Fehler (418 I'm a teapot)", true},
      {200, "OK", "", false},  // a failure the client does not name: the caller words it
  };
  for (const Case& c : cases) {
    const FetchFailure failure{c.status, c.reason};
    EXPECT_EQ(DescribeFetchFailure(failure), c.words) << c.reason;
    EXPECT_EQ(IsServerAnswer(failure), c.server_answer) << c.reason;
  }
}

TEST(FetchFailurePage, WhatTheUserTypedCannotBecomeMarkup) {
  const std::string page = BuildFetchFailurePage("Abk\xFCrzungen", "http://h/?w=<b>x</b>&y=\"1\"",
                                                 "Der Server hat die Verbindung abgelehnt", "");
  EXPECT_THAT(page, HasSubstr("Abk&#252;rzungen"));
  EXPECT_THAT(page, HasSubstr("http://h/?w=&lt;b&gt;x&lt;/b&gt;&amp;y=&quot;1&quot;"));
  EXPECT_THAT(page, Not(HasSubstr("<b>x")));
  for (const char c : page) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  EXPECT_THAT(BuildFetchFailurePage("News", "http://h/", "x", "<p>Eigene Seite"),
              ::testing::EndsWith("<p>Eigene Seite"));
}

class WorkingFolderTest : public ScratchDirectoryTest {};

TEST_F(WorkingFolderTest, OnlyTheHomeFolderSendsTheFilesToTheDataFolder) {
  const fs::path home = dir() / "home";
  fs::create_directories(home / "work");
  const std::string home_text = home.string();
  const std::string data_text = (dir() / "data").string();
  struct Case {
    fs::path current;
    const char* xdg;
    fs::path expected;
  };
  const Case cases[] = {
      {home, nullptr, home / ".local/share/tessival"},
      {home / "work" / "..", data_text.c_str(), dir() / "data" / "tessival"},
      {home, "relative/data", home / ".local/share/tessival"},  // not absolute: ignored
      {home, "", home / ".local/share/tessival"},
      {home / "work", data_text.c_str(), home / "work"},  // anywhere else: where it is
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ChooseWorkingFolder(c.current, home_text.c_str(), c.xdg), c.expected) << c.current;
  }
  EXPECT_EQ(ChooseWorkingFolder(home, nullptr, nullptr), home);  // no HOME: nothing to avoid
}

TEST_F(WorkingFolderTest, TheDataFolderIsMadeForItsOwnerAlone) {
  const fs::path folder = dir() / "share" / "tessival";
  EXPECT_EQ(EnterWorkingFolder(folder), std::nullopt);
  EXPECT_EQ(fs::current_path(), folder);
  struct stat info {};
  ASSERT_EQ(::stat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(EnterWorkingFolder(folder), std::nullopt);  // there already: entered again
  WriteFile((dir() / "file").string(), "");
  EXPECT_NE(EnterWorkingFolder(dir() / "file" / "tessival"), std::nullopt);
}

TEST(WindowPlacement, TheWindowOpensWhereDesignedOrMovedAndShrunkIntoTheScreen) {
  const QRect designed(135, 258, 921, 536);
  struct Case {
    QRect available;
    QRect expected;
  };
  const Case cases[] = {
      {{0, 0, 1920, 1050}, designed},                  // room enough: as designed
      {{0, 0, 960, 540}, {39, 4, 921, 536}},           // a screen scaled twice: moved in
      {{0, 30, 800, 570}, {0, 64, 800, 536}},          // narrower than the window: narrowed
      {{1920, 0, 1280, 1024}, {1920, 258, 921, 536}},  // a second screen to the right
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceInside(designed, c.available), c.expected) << c.available.x();
}

TEST(ToolkitTranslations, AGermanLocaleGetsTheToolkitsGermanWords) {
  tessival::testing::EnsureQtApplication();
  EXPECT_EQ(InstallToolkitTranslations(QLocale(QLocale::English)), nullptr);
  const auto german = InstallToolkitTranslations(QLocale(QLocale::German, QLocale::Germany));
  ASSERT_NE(german, nullptr) << "the toolkit's translations are not installed";
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ja");
  EXPECT_EQ(QCoreApplication::translate("QWidgetTextControl", "&Copy"), "&Kopieren");
}

}  // namespace
}  // namespace tessival::app
