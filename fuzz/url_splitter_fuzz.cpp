// Splits arbitrary addresses (the first line is the base) and checks that what comes out
// was taken from what went in.
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/url_splitter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t newline = input.find('\n');
  const std::string base = newline == std::string::npos ? "" : input.substr(0, newline);
  const std::string url = newline == std::string::npos ? input : input.substr(newline + 1);
  const tessival::net::SplitUrl split = tessival::net::ParseURL(url, base);
  if (split.host.size() > url.size() || split.port.size() > url.size()) __builtin_trap();
  tessival::net::DocFileNameFromPath(split.path);
  tessival::net::BaseDirectory(url);
  return 0;
}
