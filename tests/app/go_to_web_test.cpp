#include "app/go_to_web.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/platform/recording_script.h"

namespace tessival::app {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct LaunchRecord {
  std::vector<std::vector<std::string>> launches;
  bool starts = true;
  TGoToWeb::Launcher Launcher() {
    return [this](const std::vector<std::string>& argv) {
      launches.push_back(argv);
      return starts;
    };
  }
};

TGoToWeb::CommandFinder Registered(const std::optional<std::string>& command) {
  return [command] { return command; };
}

TEST(GoToWeb, StartsWithAStartPageAndMaximised) {
  const TGoToWeb web;
  EXPECT_EQ(web.Url, TGoToWeb::kDefaultUrl);
  EXPECT_EQ(web.EMail, TGoToWeb::kDefaultEMail);
  EXPECT_EQ(web.BrowserState, gwMaximized);
}

TEST(GoToWeb, OpensTheUrlWithTheRegisteredOptions) {
  LaunchRecord record;
  TGoToWeb web(Registered(R"("C:\Program Files\Browser\b.exe" -nohome "%1")"), record.Launcher());
  web.Url = "http://dict.example/?q=Haus";
  EXPECT_TRUE(web.Execute());
  EXPECT_THAT(record.launches,
              ElementsAre(ElementsAre(R"(C:\Program Files\Browser\b.exe)", web.Url, "-nohome")));
  EXPECT_THAT(TGoToWeb::BrowserArguments(), ElementsAre("-nohome"));
  TGoToWeb desktop(Registered("firefox %u"), record.Launcher());
  desktop.Url = web.Url;
  EXPECT_TRUE(desktop.Execute());
  EXPECT_THAT(record.launches.back(), ElementsAre("firefox", web.Url));
  EXPECT_THAT(TGoToWeb::BrowserArguments(), IsEmpty());
}

TEST(GoToWeb, BrowserThatDoesNotStartIsAFailure) {
  LaunchRecord record;
  record.starts = false;
  TGoToWeb web(Registered("firefox %u"), record.Launcher());
  EXPECT_FALSE(web.Execute());
  EXPECT_FALSE(TGoToWeb(Registered("  "), record.Launcher()).Execute());
  EXPECT_EQ(record.launches.size(), 1u);
}

TEST(GoToWeb, NoAssociationOnTheDesktopMeansFalseAndNothingStarted) {
  testing::TempTree empty;
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
    setenv(name, empty.Path(name).c_str(), 1);
  }
  LaunchRecord record;
  TGoToWeb web(nullptr, record.Launcher());
  EXPECT_FALSE(web.Execute());
  EXPECT_THAT(record.launches, IsEmpty());
}

TEST(GoToWeb, OpensTheAddressInTheDesktopsDefaultBrowser) {
  testing::TempTree tree;
  for (const char* name : {"XDG_CONFIG_DIRS", "XDG_DATA_HOME"}) setenv(name, tree.Path(name).c_str(), 1);
  setenv("XDG_CONFIG_HOME", tree.Path("config").c_str(), 1);
  setenv("XDG_DATA_DIRS", tree.Path("share").c_str(), 1);
  tree.Write("config/mimeapps.list", "[Default Applications]\ntext/html=recorder.desktop\n");
  tree.Write("share/applications/recorder.desktop",
             "[Desktop Entry]\nExec=" + testing::RecordingScript(tree) + " --new-tab %u\n");
  testing::ExpectDetachedRecording(tree);
  TGoToWeb web;
  web.Url = "http://dict.example/?q=a;b$(c)'d\"e\nf";
  ASSERT_TRUE(web.Execute());
  testing::WaitForDetachedRecording(tree);
  EXPECT_THAT(testing::RecordedArguments(tree), ElementsAre("--new-tab", web.Url));
}

}  // namespace
}  // namespace tessival::app
