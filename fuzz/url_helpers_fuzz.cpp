// Runs every URL rule over arbitrary text: the input is split at its first NUL into a
// base and a link, and each rule gets the pieces it takes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "html/url_helpers.h"

using namespace tessival::html;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view base = input.substr(0, split);
  const std::string_view link = split == std::string_view::npos ? "" : input.substr(split + 1);

  const std::string combined = CombineUrl(base, link);
  // Resolving never makes a URL longer than its pieces and one slash.
  if (combined.size() > base.size() + link.size() + 1) __builtin_trap();
  (void)GetBase(base);
  (void)IsFullUrl(link);
  const std::string file = UrlToFileName(link);
  if (file.size() > link.size()) __builtin_trap();
  (void)ExpandFileName(link, base);
  return 0;
}
