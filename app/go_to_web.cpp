#include "app/go_to_web.h"

#include "platform/browser_command.h"
#include "platform/process_launch.h"
#include "platform/xdg_default_browser.h"

namespace tessival::app {
namespace {

std::vector<std::string>& LastBrowserArguments() {
  static std::vector<std::string> arguments;
  return arguments;
}

std::optional<std::string> DesktopBrowserCommand() {
  return platform::FindDefaultBrowserCommand(platform::XdgDirectories::FromEnvironment());
}

}  // namespace

TGoToWeb::TGoToWeb(CommandFinder finder, Launcher launcher)
    : finder_(finder ? std::move(finder) : CommandFinder(DesktopBrowserCommand)),
      launcher_(launcher ? std::move(launcher) : Launcher(platform::LaunchDetached)) {}

bool TGoToWeb::Execute() {
  const std::optional<std::string> command = finder_();
  if (!command) return false;
  const std::optional<platform::BrowserCommand> browser = platform::SplitBrowserCommand(*command);
  if (!browser) return false;
  LastBrowserArguments() = browser->arguments;
  return launcher_(browser->ArgumentVector(Url));
}

const std::vector<std::string>& TGoToWeb::BrowserArguments() { return LastBrowserArguments(); }

}  // namespace tessival::app
