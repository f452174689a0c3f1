#include "platform/xdg_default_browser.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

#include "platform/browser_command.h"
#include "temp_tree.h"

namespace tessival::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

// A fake desktop: a home configuration, one system data directory, no desktop name. The
// directories come through the environment, as on a real session.
class XdgDefaultBrowserTest : public ::testing::Test {
 protected:
  XdgDefaultBrowserTest() {
    for (const char* name : kVariables) {
      if (const char* value = std::getenv(name)) saved_[name] = value;
    }
    setenv("HOME", tree_.Path("home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", tree_.Path("config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", tree_.Path("etc").c_str(), 1);
    setenv("XDG_DATA_HOME", tree_.Path("home/data").c_str(), 1);
    setenv("XDG_DATA_DIRS", (tree_.Path("usr") + ":relative/ignored").c_str(), 1);
    unsetenv("XDG_CURRENT_DESKTOP");
  }
  ~XdgDefaultBrowserTest() override {
    for (const char* name : kVariables) {
      const auto saved = saved_.find(name);
      if (saved != saved_.end()) {
        setenv(name, saved->second.c_str(), 1);
      } else {
        unsetenv(name);
      }
    }
  }

  void Install(const std::string& id, const std::string& exec, const std::string& extra = "") {
    tree_.Write("usr/applications/" + id, "[Desktop Entry]\nType=Application\nName=B\n" + extra +
                                              "Exec=" + exec + "\n[Desktop Action New]\nExec=wrong\n");
  }

  std::optional<std::string> Lookup() {
    return FindDefaultBrowserCommand(XdgDirectories::FromEnvironment());
  }

  static constexpr const char* kVariables[] = {
      "HOME",          "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS",
      "XDG_DATA_HOME", "XDG_DATA_DIRS",   "XDG_CURRENT_DESKTOP"};
  testing::TempTree tree_;
  std::map<std::string, std::string> saved_;
};

TEST_F(XdgDefaultBrowserTest, DirectoriesComeFromTheEnvironmentWithoutRelativeEntries) {
  const XdgDirectories dirs = XdgDirectories::FromEnvironment();
  EXPECT_EQ(dirs.config_home, tree_.Path("config"));
  EXPECT_THAT(dirs.data_dirs, ElementsAre(tree_.Path("usr")));
  unsetenv("XDG_CONFIG_HOME");
  unsetenv("XDG_DATA_DIRS");
  const XdgDirectories fallback = XdgDirectories::FromEnvironment();
  EXPECT_EQ(fallback.config_home, tree_.Path("home/.config"));
  EXPECT_THAT(fallback.data_dirs, ElementsAre("/usr/local/share", "/usr/share"));
}

TEST_F(XdgDefaultBrowserTest, FirstInstalledDefaultApplicationGivesItsExecLine) {
  tree_.Write("config/mimeapps.list",
              "[Added Associations]\ntext/html=other.desktop\n"
              "[Default Applications]\ntext/html=missing.desktop;web.desktop;\n");
  Install("other.desktop", "other %u");
  Install("web.desktop", R"("/opt/My\sBrowser/web" --new-window %U)");
  const std::optional<std::string> command = Lookup();
  ASSERT_THAT(command, Optional(std::string(R"("/opt/My Browser/web" --new-window %U)")));
  EXPECT_THAT(SplitBrowserCommand(*command)->ArgumentVector("http://x/"),
              ElementsAre("/opt/My Browser/web", "--new-window", "http://x/"));
}

TEST_F(XdgDefaultBrowserTest, UserChoiceBeatsTheSystemAndTheDesktopsOwnListBeatsBoth) {
  tree_.Write("usr/applications/mimeapps.list", "[Default Applications]\ntext/html=system.desktop\n");
  Install("system.desktop", "system %u");
  EXPECT_THAT(Lookup(), Optional(std::string("system %u")));
  tree_.Write("etc/mimeapps.list", "[Default Applications]\ntext/html=user.desktop\n");
  Install("user.desktop", "user %u");
  EXPECT_THAT(Lookup(), Optional(std::string("user %u")));
  setenv("XDG_CURRENT_DESKTOP", "Test:Other", 1);
  tree_.Write("config/test-mimeapps.list", "[Default Applications]\ntext/html=desk.desktop\n");
  Install("desk.desktop", "desk %u");
  EXPECT_THAT(Lookup(), Optional(std::string("desk %u")));
}

TEST_F(XdgDefaultBrowserTest, ExtensionTypesComeFromTheMimeDatabaseInOrder) {
  tree_.Write("usr/mime/globs2",
              "# weight:type:glob\n50:application/xhtml+xml:*.htm\n80:text/x-page:*.htm\n");
  const XdgDirectories dirs = XdgDirectories::FromEnvironment();
  EXPECT_EQ(MimeTypeOfExtension(dirs, ".htm"), "text/x-page");
  EXPECT_EQ(MimeTypeOfExtension(dirs, ".shtml"), "text/html");
  tree_.Write("config/mimeapps.list",
              "[Default Applications]\ntext/html=later.desktop\ntext/x-page=first.desktop\n");
  Install("later.desktop", "later %u");
  Install("first.desktop", "first %u");
  EXPECT_THAT(Lookup(), Optional(std::string("first %u")));
}

TEST_F(XdgDefaultBrowserTest, HiddenOrExeclessEntriesAndNestedIdsAreHandled) {
  tree_.Write("config/mimeapps.list",
              "[Default Applications]\ntext/html=gone.desktop;noexec.desktop;vendor-web.desktop\n");
  Install("gone.desktop", "gone %u", "Hidden=true\n");
  tree_.Write("usr/applications/noexec.desktop", "[Desktop Entry]\nName=N\n");
  tree_.Write("usr/applications/vendor/web.desktop", "[Desktop Entry]\nExec=nested %u\n");
  EXPECT_THAT(Lookup(), Optional(std::string("nested %u")));
}

TEST_F(XdgDefaultBrowserTest, NoAssociationMeansNoBrowser) {
  EXPECT_EQ(Lookup(), std::nullopt);
  tree_.Write("config/mimeapps.list", "[Default Applications]\ntext/html=../../escape.desktop\n");
  tree_.Write("escape.desktop", "[Desktop Entry]\nExec=escape\n");
  EXPECT_EQ(Lookup(), std::nullopt);
}

}  // namespace
}  // namespace tessival::platform
