#pragma once
// The command line of tessival-render.
#include <optional>
#include <string>

namespace tessival::tools {

struct RenderOptions {
  std::string Input;
  std::string Output;
  int Width = 800;   // handed to the document's layout as it is
  int Height = 600;  // the least height of the picture
  // The page's character set, overriding what the page says; empty: detected.
  std::string Charset;
  bool Images = false;
  bool Dump = false;
  bool Help = false;
};

// The options, or nothing with `error` set when the command line is not usable.
std::optional<RenderOptions> ParseRenderOptions(int argc, const char* const* argv, std::string& error);

extern const char* const RenderUsage;

}  // namespace tessival::tools
