#pragma once
// The program's command line: tessival [--service CAPTION] [TEXT...], --help, --version.
// The words of TEXT are joined with single blanks; "--" ends the options, so a text may
// begin with "-".
#include <optional>
#include <string>
#include <vector>

namespace tessival::app {

struct CommandLine {
  bool help = false;
  bool version = false;
  std::optional<std::string> service;  // caption as given
  std::optional<std::string> text;     // none when no word was given
};

struct ParsedCommandLine {
  std::optional<CommandLine> command_line;
  std::string error;  // for standard error, when command_line is empty
};

// args without the program's name, as the system gave them (UTF-8).
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

extern const char* const kCommandLineUsage;

}  // namespace tessival::app
