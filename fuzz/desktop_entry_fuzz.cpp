// A desktop entry as found on disk, its Exec line split into a program and arguments and
// turned into the argument vector of a launch: none of it may crash or read out of bounds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/browser_command.h"
#include "platform/xdg_default_browser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  using tessival::platform::SplitBrowserCommand;
  if (const auto exec = tessival::platform::DesktopEntryExec(input)) {
    if (const auto command = SplitBrowserCommand(*exec)) command->ArgumentVector("http://x/");
  }
  // The raw text as a registered command line as well.
  if (const auto command = SplitBrowserCommand(input)) command->ArgumentVector("http://x/");
  return 0;
}
