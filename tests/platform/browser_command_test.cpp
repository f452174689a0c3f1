#include "platform/browser_command.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tessival::platform {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

constexpr char kUrl[] = "http://example.org/?q=1";

std::vector<std::string> ArgvFor(std::string_view command) {
  const std::optional<BrowserCommand> split = SplitBrowserCommand(command);
  return split ? split->ArgumentVector(kUrl) : std::vector<std::string>{};
}

TEST(BrowserCommand, QuotedWindowsPathLosesQuotesAndPlaceholder) {
  EXPECT_THAT(SplitBrowserCommand(R"("C:\Program Files\Browser\b.exe" -nohome "%1")"),
              Optional(BrowserCommand{R"(C:\Program Files\Browser\b.exe)", {"-nohome"}, 0}));
  // The address first, then the registered options.
  EXPECT_THAT(ArgvFor(R"("C:\Program Files\Browser\b.exe" -nohome "%1")"),
              ElementsAre(R"(C:\Program Files\Browser\b.exe)", kUrl, "-nohome"));
}

TEST(BrowserCommand, WindowsSuffixIsFoundInAnyCaseAndFromTheEnd) {
  EXPECT_THAT(ArgvFor(R"(C:\Program Files\b.EXE -new %1 -x)"),
              ElementsAre(R"(C:\Program Files\b.EXE)", kUrl, "-new", "-x"));
  EXPECT_THAT(ArgvFor(R"(C:\tools.exe\run.Bat)"), ElementsAre(R"(C:\tools.exe\run.Bat)", kUrl));
  EXPECT_THAT(ArgvFor(R"(c:\dos\view.com "%1")"), ElementsAre(R"(c:\dos\view.com)", kUrl));
}

TEST(BrowserCommand, DesktopEntryProgramIsTheFirstWordWithQuotesHonoured) {
  EXPECT_THAT(ArgvFor("firefox %u"), ElementsAre("firefox", kUrl));
  EXPECT_THAT(ArgvFor(R"("/opt/My Browser/browser" --new-window %U)"),
              ElementsAre("/opt/My Browser/browser", "--new-window", kUrl));
  EXPECT_THAT(ArgvFor(R"('/opt/a b/c' "say \"hi\"" x\ y)"),
              ElementsAre("/opt/a b/c", R"(say "hi")", "x y", kUrl));
}

TEST(BrowserCommand, FieldCodesAreDroppedAndTheAddressTakesTheFirstFileOrUrlCode) {
  EXPECT_THAT(ArgvFor("browser %i %c -a %k %F --zoom=100%% %u %d"),
              ElementsAre("browser", "-a", kUrl, "--zoom=100%"));
  // Without a placeholder the address goes last.
  EXPECT_THAT(ArgvFor("browser --private"), ElementsAre("browser", "--private", kUrl));
  // Wrapped programs keep the address between their own markers.
  EXPECT_THAT(ArgvFor("/usr/bin/flatpak run --branch=stable org.example.Web @@u %u @@"),
              ElementsAre("/usr/bin/flatpak", "run", "--branch=stable", "org.example.Web", "@@u", kUrl,
                          "@@"));
}

TEST(BrowserCommand, HostNameEndingInComIsNoWindowsProgram) {
  EXPECT_THAT(ArgvFor("browser --home=www.example.com %u"),
              ElementsAre("browser", "--home=www.example.com", kUrl));
  EXPECT_THAT(ArgvFor("browser http://example.com"), ElementsAre("browser", "http://example.com", kUrl));
}

TEST(BrowserCommand, EmptyCommandsNameNoProgram) {
  EXPECT_EQ(SplitBrowserCommand(""), std::nullopt);
  EXPECT_EQ(SplitBrowserCommand("   "), std::nullopt);
  EXPECT_EQ(SplitBrowserCommand(R"("")"), std::nullopt);
  EXPECT_EQ(SplitWindowsCommand("firefox %u"), std::nullopt);
  EXPECT_EQ(SplitWindowsCommand(".ex"), std::nullopt);
}

}  // namespace
}  // namespace tessival::platform
