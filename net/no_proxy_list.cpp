#include "net/no_proxy_list.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <vector>

namespace tessival::net {
namespace {

struct Address {
  int family = 0;  // AF_INET or AF_INET6
  std::array<unsigned char, 16> bytes{};
  int bits() const { return family == AF_INET ? 32 : 128; }
};

std::optional<Address> ParseAddress(const std::string& text) {
  Address address;
  if (inet_pton(AF_INET, text.c_str(), address.bytes.data()) == 1) {
    address.family = AF_INET;
    return address;
  }
  if (inet_pton(AF_INET6, text.c_str(), address.bytes.data()) == 1) {
    address.family = AF_INET6;
    return address;
  }
  return std::nullopt;
}

std::string WithoutBrackets(const std::string& text) {
  if (text.size() >= 2 && text.front() == '[' && text.back() == ']')
    return text.substr(1, text.size() - 2);
  return text;
}

std::string LowerWithoutTrailingDot(std::string text) {
  if (!text.empty() && text.back() == '.') text.pop_back();
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::vector<std::string> Entries(const std::string& list) {
  std::vector<std::string> entries;
  std::string current;
  for (const char c : list) {
    if (c == ',' || std::isspace(static_cast<unsigned char>(c)) != 0) {
      if (!current.empty()) entries.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) entries.push_back(current);
  return entries;
}

bool PrefixMatches(const Address& host, const Address& net, int bits) {
  const int full_bytes = bits / 8;
  if (!std::equal(net.bytes.begin(), net.bytes.begin() + full_bytes, host.bytes.begin())) return false;
  const int rest = bits % 8;
  if (rest == 0) return true;
  const auto mask = static_cast<unsigned char>(0xFF << (8 - rest));
  return (host.bytes[full_bytes] & mask) == (net.bytes[full_bytes] & mask);
}

// "addr" or "addr/bits"; a prefix length that does not read as one never matches.
bool AddressEntryMatches(const Address& host, const std::string& entry) {
  const auto slash = entry.find('/');
  const std::optional<Address> net = ParseAddress(WithoutBrackets(entry.substr(0, slash)));
  if (!net || net->family != host.family) return false;
  int bits = host.bits();
  if (slash != std::string::npos) {
    const std::string digits = entry.substr(slash + 1);
    if (digits.empty() || digits.size() > 3 ||
        !std::all_of(digits.begin(), digits.end(),
                     [](unsigned char c) { return std::isdigit(c) != 0; })) {
      return false;
    }
    bits = std::stoi(digits);
    if (bits > host.bits()) return false;
  }
  return PrefixMatches(host, *net, bits);
}

bool NameEntryMatches(const std::string& host, std::string entry) {
  if (!entry.empty() && entry.front() == '.') entry.erase(0, 1);
  entry = LowerWithoutTrailingDot(entry);
  if (entry.empty()) return false;
  if (entry == host) return true;
  return host.size() > entry.size() &&
         host.compare(host.size() - entry.size(), entry.size(), entry) == 0 &&
         host[host.size() - entry.size() - 1] == '.';
}

}  // namespace

bool NoProxyMatches(const std::string& no_proxy, const std::string& host) {
  const std::vector<std::string> entries = Entries(no_proxy);
  if (std::find(entries.begin(), entries.end(), "*") != entries.end()) return true;
  const std::string name = LowerWithoutTrailingDot(WithoutBrackets(host));
  if (name.empty()) return false;
  const std::optional<Address> address = ParseAddress(name);
  return std::any_of(entries.begin(), entries.end(), [&](const std::string& entry) {
    return address ? AddressEntryMatches(*address, entry) : NameEntryMatches(name, entry);
  });
}

}  // namespace tessival::net
