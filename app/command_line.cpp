#include "app/command_line.h"

namespace tessival::app {

const char* const kCommandLineUsage =
    "Usage: tessival [--service CAPTION] [TEXT...]\n"
    "Looks TEXT up with one of the program's services and shows the answer. When the\n"
    "program already runs on this display, its window comes to the front and does the query.\n"
    "\n"
    "  --service CAPTION  the service by its button caption (default: the one used last)\n"
    "  --help             this text\n"
    "  --version          the program's version\n"
    "  --                 the words after it are text, even when they begin with \"-\"\n";

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  std::vector<std::string> words;
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.empty() || arg[0] != '-' || arg == "-") {
      words.push_back(arg);
    } else if (arg == "--") {
      options_ended = true;
    } else if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--version") {
      line.version = true;
    } else if (arg == "--service") {
      if (i + 1 >= args.size()) return {std::nullopt, "--service needs a caption"};
      line.service = args[++i];
    } else if (arg.rfind("--service=", 0) == 0) {
      line.service = arg.substr(10);
    } else {
      return {std::nullopt, "unknown option " + arg};
    }
  }
  if (!words.empty()) {
    std::string text = words.front();
    for (std::size_t i = 1; i < words.size(); ++i) text += " " + words[i];
    line.text = text;
  }
  return {line, {}};
}

}  // namespace tessival::app
