#include "tools/render/render_options.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace tessival::tools {

const char* const RenderUsage =
    "usage: tessival-render IN.html -o OUT.png [--width W] [--height H] [--charset NAME]\n"
    "                       [--images] [--dump]\n"
    "  Lays IN.html out W pixels wide (default 800) and paints it into OUT.png, at least\n"
    "  H pixels tall (default 600) and as large as the document, up to 32767 pixels each way.\n"
    "  --charset NAME  read IN.html in this character set (utf-8, iso-8859-15,\n"
    "            windows-1251 ...) instead of the one the file declares or looks like\n"
    "  --images  show pictures (off, as in the main window, unless given)\n"
    "  --dump    print the laid-out sections to standard output\n";

namespace {

bool ReadPixels(std::string_view text, int& value) {
  int parsed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (ec != std::errc() || end != text.data() + text.size() || parsed < 1 || parsed > 32767)
    return false;
  value = parsed;
  return true;
}

}  // namespace

std::optional<RenderOptions> ParseRenderOptions(int argc, const char* const* argv, std::string& error) {
  RenderOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      options.Help = true;
      return options;
    }
    if (arg == "--images") {
      options.Images = true;
    } else if (arg == "--dump") {
      options.Dump = true;
    } else if (arg == "--charset" && has_value) {
      options.Charset = argv[++i];
    } else if (arg == "-o" && has_value) {
      options.Output = argv[++i];
    } else if ((arg == "--width" || arg == "--height") && has_value) {
      int& target = arg == "--width" ? options.Width : options.Height;
      if (!ReadPixels(argv[++i], target)) {
        error = std::string(arg) + " wants a number of pixels from 1 to 32767";
        return std::nullopt;
      }
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown or incomplete option " + std::string(arg);
      return std::nullopt;
    } else if (options.Input.empty()) {
      options.Input = arg;
    } else {
      error = "more than one input file";
      return std::nullopt;
    }
  }
  if (options.Input.empty()) error = "no input file";
  else if (options.Output.empty()) error = "no output file (-o OUT.png)";
  if (!error.empty()) return std::nullopt;
  return options;
}

}  // namespace tessival::tools
