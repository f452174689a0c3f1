// The proxy variables as the environment could hold them: the first line is a proxy
// address, the second a no_proxy list, the rest a request address. A proxy that reads
// must describe itself as an address that reads to the same proxy again, and no control
// character may reach the user or password (they go into a header or a SOCKS packet).
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/no_proxy_list.h"
#include "net/proxy_choice.h"

namespace {

std::string TakeLine(std::string& rest) {
  const std::size_t newline = rest.find('\n');
  std::string line = rest.substr(0, newline);
  rest = newline == std::string::npos ? std::string() : rest.substr(newline + 1);
  return line;
}

bool HasControl(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessival::net;
  std::string rest(reinterpret_cast<const char*>(data), size);
  const std::string address = TakeLine(rest);
  const std::string no_proxy = TakeLine(rest);
  const ParsedProxy parsed = ParseProxyAddress(address);
  if (parsed.server) {
    if (HasControl(parsed.server->user) || HasControl(parsed.server->password)) __builtin_trap();
    const ParsedProxy again = ParseProxyAddress(parsed.server->Describe());
    if (!again.server || again.server->host != parsed.server->host ||
        again.server->port != parsed.server->port || again.server->kind != parsed.server->kind) {
      __builtin_trap();
    }
  }
  const SystemProxies system = ReadSystemProxies(
      [&](const std::string& name) -> std::optional<std::string> {
        if (name == "all_proxy") return address;
        if (name == "no_proxy") return no_proxy;
        return std::nullopt;
      });
  ChooseProxy(ProxySettings{}, system, rest);
  NoProxyMatches(no_proxy, rest);
  return 0;
}
