#pragma once
// Turns a registered browser command line into a program and its arguments, so that the
// browser can be started with an argument vector instead of through a shell.
//
// Two forms are understood:
//  - the Windows form, a program path ending in ".exe", ".bat" or ".com" (any case,
//    possibly unquoted with blanks inside) followed by options: the program is everything
//    up to the suffix, the rest loses its double quotes and every word starting with "%";
//  - the desktop-entry form ("firefox %u"): the program is the first word, quotes and
//    backslash escapes honoured; field codes such as "%u", "%U", "%f", "%F" are dropped
//    and "%%" stands for "%".
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessival::platform {

struct BrowserCommand {
  std::string program;
  std::vector<std::string> arguments;
  // Where the address goes among the arguments.
  std::size_t url_position = 0;

  // The argument vector for opening url: program first, then the arguments with url
  // inserted at its position.
  std::vector<std::string> ArgumentVector(const std::string& url) const;

  bool operator==(const BrowserCommand&) const = default;
};

// Nothing when the command names no program.
std::optional<BrowserCommand> SplitBrowserCommand(std::string_view command);

// The two forms on their own.
std::optional<BrowserCommand> SplitWindowsCommand(std::string_view command);
std::optional<BrowserCommand> SplitDesktopCommand(std::string_view command);

// Words of a desktop-entry command line: blanks separate, double quotes group with
// backslash escapes inside, single quotes group literally, a backslash outside quotes
// escapes the next character.
std::vector<std::string> SplitCommandWords(std::string_view command);

}  // namespace tessival::platform
