#include "net/proxy_address.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace tessival::net {
namespace {

constexpr const char* kDefaultPort = "1080";

// clang-format off
constexpr std::array<std::pair<const char*, ProxyKind>, 5> kSchemes = {{
    {"http",    ProxyKind::kHttp},
    {"socks4",  ProxyKind::kSocks4},
    {"socks4a", ProxyKind::kSocks4a},
    {"socks5",  ProxyKind::kSocks5},
    {"socks5h", ProxyKind::kSocks5h},
}};
// clang-format on

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

// Percent-decoding of a user or password; nothing when a "%" is not followed by two hex
// digits, or when the result would hold a control character (it goes into a header or a
// SOCKS packet).
std::optional<std::string> PercentDecoded(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '%') {
      if (i + 2 >= text.size()) return std::nullopt;
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high < 0 || low < 0) return std::nullopt;
      c = static_cast<char>(high * 16 + low);
      i += 2;
    }
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    out += c;
  }
  return out;
}

bool IsHostChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '.' || c == '_';
}

bool IsIpv6Char(char c) {
  return std::isxdigit(static_cast<unsigned char>(c)) != 0 || c == ':' || c == '.';
}

bool ValidPort(const std::string& port) {
  if (port.empty() || port.size() > 5) return false;
  if (!std::all_of(port.begin(), port.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
    return false;
  }
  const int value = std::stoi(port);
  return value >= 1 && value <= 65535;
}

// host[:port] or [v6]:port into the server; the reason when it does not read.
std::string ReadHostAndPort(const std::string& text, ProxyServer& server) {
  std::string port_part;
  if (!text.empty() && text.front() == '[') {
    const auto close = text.find(']');
    if (close == std::string::npos) return "\"]\" fehlt";
    server.host = text.substr(1, close - 1);
    if (server.host.empty() || !std::all_of(server.host.begin(), server.host.end(), IsIpv6Char)) {
      return "ung\xFCltige IPv6-Adresse";
    }
    const std::string after = text.substr(close + 1);
    if (!after.empty() && after.front() != ':') return "ung\xFCltige Angabe nach \"]\"";
    if (!after.empty()) port_part = after.substr(1);
    if (after == ":") return "Port fehlt";
  } else {
    const auto colon = text.find(':');
    server.host = text.substr(0, colon);
    if (colon != std::string::npos) {
      port_part = text.substr(colon + 1);
      if (port_part.empty()) return "Port fehlt";
    }
    if (server.host.empty()) return "Rechnername fehlt";
    if (!std::all_of(server.host.begin(), server.host.end(), IsHostChar))
      return "ung\xFCltiger Rechnername";
  }
  if (!port_part.empty()) {
    if (!ValidPort(port_part)) return "ung\xFCltiger Port \"" + port_part + "\"";
    server.port = port_part;
  }
  return {};
}

}  // namespace

std::string ProxySchemeName(ProxyKind kind) {
  for (const auto& [name, value] : kSchemes) {
    if (value == kind) return name;
  }
  return "http";
}

std::optional<ProxyKind> ProxyKindFromScheme(const std::string& scheme) {
  const std::string lower = Lower(scheme);
  for (const auto& [name, value] : kSchemes) {
    if (lower == name) return value;
  }
  return std::nullopt;
}

std::string ProxyServer::Describe() const {
  const bool v6 = host.find(':') != std::string::npos;
  return ProxySchemeName(kind) + "://" + (v6 ? "[" + host + "]" : host) + ":" + port;
}

ParsedProxy ParseProxyAddress(const std::string& text) {
  std::string rest = Trimmed(text);
  if (rest.empty()) return {std::nullopt, "leer"};
  ProxyServer server;
  server.port = kDefaultPort;
  const auto scheme_end = rest.find("://");
  if (scheme_end != std::string::npos) {
    const std::string scheme = rest.substr(0, scheme_end);
    const std::optional<ProxyKind> kind = ProxyKindFromScheme(scheme);
    if (!kind) return {std::nullopt, "Art \"" + scheme + "\" wird nicht unterst\xFCtzt"};
    server.kind = *kind;
    rest = rest.substr(scheme_end + 3);
  }
  // A trailing path ("http://proxy:3128/") means nothing to a proxy and is dropped.
  std::string authority = rest.substr(0, rest.find('/'));
  const auto at = authority.rfind('@');
  if (at != std::string::npos) {
    const std::string user_info = authority.substr(0, at);
    const auto colon = user_info.find(':');
    const std::optional<std::string> user = PercentDecoded(user_info.substr(0, colon));
    const std::optional<std::string> password = colon == std::string::npos
                                                    ? std::string()
                                                    : PercentDecoded(user_info.substr(colon + 1));
    if (!user || !password) return {std::nullopt, "ung\xFCltiger Benutzer oder Kennwort"};
    server.user = *user;
    server.password = *password;
    authority = authority.substr(at + 1);
  }
  const std::string error = ReadHostAndPort(authority, server);
  if (!error.empty()) return {std::nullopt, error};
  return {server, {}};
}

}  // namespace tessival::net
