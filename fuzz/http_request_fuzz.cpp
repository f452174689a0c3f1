// Builds request headers from arbitrary addresses and header values, the way the HTTP
// client does for a request and for a relocation, and traps when a header line holds a
// CR or LF that would end it early on the wire.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/http_request_header.h"
#include "net/http_target.h"

namespace {

// Fields are cut at the byte 0xFE, so that zero bytes and line breaks reach the builder.
std::string_view NextField(std::string_view& rest) {
  const std::size_t cut = rest.find('\xFE');
  const std::string_view field = rest.substr(0, cut);
  rest.remove_prefix(cut == std::string_view::npos ? rest.size() : cut + 1);
  return field;
}

bool HasLineBreak(const std::string& line) { return line.find_first_of("\r\n") != std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint8_t choice = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string url(NextField(rest));
  const std::string location(NextField(rest));
  const std::string cookie(NextField(rest));
  const std::string user(NextField(rest));

  using namespace tessival::net;
  const bool through_proxy = (choice & 1) != 0;
  HttpTarget target;
  target.Username = user;
  ComputeRequestTarget(url, through_proxy ? "127.0.0.1" : "", "80", target);
  if ((choice & 2) != 0) ApplyLocationHeader(location, through_proxy, target);

  RequestHeaderFields fields;
  fields.method = (choice & 4) != 0 ? "POST" : "GET";
  fields.path = target.Path;
  fields.server_host = target.ServerHost;
  fields.username = target.Username;
  fields.password = target.Password;
  fields.through_proxy = through_proxy;
  fields.proxy_username = user;
  fields.cookie = cookie;
  fields.range_begin = location;
  const bool refused = !FirstValueWithLineBreak(fields).empty();
  if (refused != (HasLineBreak(cookie) || HasLineBreak(location))) __builtin_trap();
  if (refused) return 0;  // the client sends nothing for these
  for (const std::string& line : BuildRequestHeader(fields)) {
    if (HasLineBreak(line)) __builtin_trap();
  }
  return 0;
}
