#include "net/wsocket_resolve.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>

#include "net/socket_exception.h"
#include "platform/wsock_api.h"

namespace tessival::net {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits up to the first non-digit, as a number (saturating well above any port).
int LeadingNumber(const std::string& text) {
  long value = 0;
  for (char c : text) {
    if (!IsDigit(c)) break;
    value = std::min(value * 10 + (c - '0'), 0x7FFFFFFFL);
  }
  return static_cast<int>(value);
}

std::string Format(const char* format, const std::string& text, int error) {
  std::string out;
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      out += text;
      ++p;
    } else if (p[0] == '%' && p[1] == 'd') {
      out += std::to_string(error);
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

}  // namespace

std::string Trim(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

std::string LowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool WSocketIsDottedIP(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && text[i] == '.') return false;
  int parts = 0;
  while (true) {
    if (i >= text.size() || !IsDigit(text[i])) return false;
    int value = 0;
    while (i < text.size() && IsDigit(text[i])) {
      value = value * 10 + (text[i] - '0');
      if (value > 255) return false;
      ++i;
    }
    ++parts;
    if (parts == 4) break;
    if (i >= text.size() || text[i] != '.') return false;
    ++i;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  return i == text.size();
}

std::string WSocketIpToStr(std::uint32_t address) {
  const auto host = ntohl(address);
  return std::to_string(host >> 24) + "." + std::to_string((host >> 16) & 255) + "." +
         std::to_string((host >> 8) & 255) + "." + std::to_string(host & 255);
}

std::uint32_t WSocketResolveHost(const std::string& text) {
  if (text.empty() || text.size() > 256) {
    throw ESocketException("WSocketResolveHost: '" + text + "' Invalid Hostname.");
  }
  const std::string host = Trim(text);
  if (WSocketIsDottedIP(host)) {
    in_addr address{};
    if (::inet_aton(host.c_str(), &address) == 0 ||
        (address.s_addr == INADDR_NONE && host != "255.255.255.255")) {
      throw ESocketException("WSocketResolveHost: '" + text + "' Invalid IP address.");
    }
    return address.s_addr;
  }
  platform::HostEntry entry;
  const int error = platform::WsGetHostByName(host, &entry);
  if (error != 0) {
    throw ESocketException(
        Format("WSocketResolveHost: Cannot convert host address '%s', Error #%d", host, error));
  }
  return entry.addresses.front();
}

int WSocketResolvePort(const std::string& port, const std::string& proto) {
  if (port.empty() || port.size() >= 32) throw ESocketException("WSocketResolvePort: Invalid Port.");
  if (proto.empty() || proto.size() >= 32) throw ESocketException("WSocketResolvePort: Invalid Proto.");
  if (IsDigit(port[0])) return LeadingNumber(port);
  int number = 0;
  const int error = platform::WsGetServByName(Trim(port), Trim(proto), &number);
  if (error != 0) {
    throw ESocketException(
        Format("WSocketResolvePort: Cannot convert port '%s', Error #%d", port, error));
  }
  return number;
}

int WSocketResolveProto(const std::string& text) {
  if (text.empty() || text.size() >= 32) {
    throw ESocketException("WSocketResolveProto: Invalid Protocol.");
  }
  if (IsDigit(text[0])) return LeadingNumber(text);
  int number = 0;
  const int error = platform::WsGetProtoByName(Trim(text), &number);
  if (error != 0) {
    throw ESocketException(
        Format("WSocketResolveProto: Cannot convert protocol '%s', Error #%d", text, error));
  }
  return number;
}

}  // namespace tessival::net
