#pragma once
// Opens an address in the desktop's default web browser. The browser is found in the
// desktop's MIME associations for HTML files and started directly with an argument
// vector, never through a shell.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessival::app {

enum TBrowserState { gwMaximized, gwNormal };

class TGoToWeb {
 public:
  // Finds the registered browser command line; nothing when there is none.
  using CommandFinder = std::function<std::optional<std::string>()>;
  // Starts a program from its argument vector; true when it started.
  using Launcher = std::function<bool(const std::vector<std::string>& argv)>;

  static constexpr char kDefaultUrl[] = "http://www.example.org/";
  static constexpr char kDefaultEMail[] = "browser@example.org";

  // The desktop's association and a detached launch unless others are given.
  explicit TGoToWeb(CommandFinder finder = nullptr, Launcher launcher = nullptr);

  std::string About = "Opens an address in the default web browser";
  std::string Url = kDefaultUrl;
  std::string EMail = kDefaultEMail;  // kept for the caller; no operation reads it
  std::string EMailSubject;           // likewise
  // Kept for the caller: a launcher on this desktop has no way to ask the started
  // browser for a window state.
  TBrowserState BrowserState = gwMaximized;

  // Opens Url in the default browser; false when there is none or it did not start.
  bool Execute();

  // The browser arguments of the last search, shared by the whole program.
  static const std::vector<std::string>& BrowserArguments();

 private:
  CommandFinder finder_;
  Launcher launcher_;
};

}  // namespace tessival::app
