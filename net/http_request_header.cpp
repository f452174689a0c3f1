#include "net/http_request_header.h"

#include <initializer_list>
#include <utility>

#include "net/base64.h"

namespace tessival::net {
namespace {

bool NeedsEscape(unsigned char byte) { return byte < 33 || byte >= 127; }

bool HasLineBreak(const std::string& value) { return value.find_first_of("\r\n") != std::string::npos; }

}  // namespace

std::string EscapeRequestTarget(std::string_view address) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(address.size());
  for (const char c : address) {
    const auto byte = static_cast<unsigned char>(c);
    if (!NeedsEscape(byte)) {
      out.push_back(c);
      continue;
    }
    out.push_back('%');
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 0x0F]);
  }
  return out;
}

std::vector<std::string> BuildRequestHeader(const RequestHeaderFields& f) {
  const bool post = f.method == "POST";
  std::vector<std::string> lines;
  lines.push_back(f.method + " " + EscapeRequestTarget(f.path) + " HTTP/1.0");
  if (!f.sender.empty()) lines.push_back("From: " + f.sender);
  if (!f.accept.empty()) lines.push_back("Accept: " + f.accept);
  if (!f.reference.empty()) lines.push_back("Referer: " + f.reference);
  if (!f.accept_language.empty()) lines.push_back("Accept-Language: " + f.accept_language);
  if (post && !f.content_type_post.empty()) lines.push_back("Content-Type: " + f.content_type_post);
  if (!f.agent.empty()) lines.push_back("User-Agent: " + f.agent);
  lines.push_back("Host: " + EscapeRequestTarget(f.server_host));
  if (f.no_cache) lines.push_back("Pragma: no-cache");
  if (post) lines.push_back("Content-Length: " + std::to_string(f.post_size));
  if (f.modified_since != 0) {
    lines.push_back("If-Modified-Since: " + RFC1123Date(f.modified_since) + " GMT");
  }
  if (!f.username.empty()) {
    lines.push_back("Authorization: Basic " + Base64Encode(f.username + ":" + f.password));
  }
  if (f.through_proxy && !f.proxy_username.empty()) {
    lines.push_back("Proxy-Authorization: Basic " +
                    Base64Encode(f.proxy_username + ":" + f.proxy_password));
  }
  if (!f.cookie.empty()) lines.push_back("Cookie: " + f.cookie);
  if (!f.range_begin.empty() || !f.range_end.empty()) {
    lines.push_back("Range: bytes=" + f.range_begin + "-" + f.range_end);
  }
  return lines;
}

std::string FirstValueWithLineBreak(const RequestHeaderFields& f) {
  // The table keeps its hand-made columns.
  // clang-format off
  const std::initializer_list<std::pair<const char*, const std::string*>> values = {
      {"From", &f.sender},
      {"Accept", &f.accept},
      {"Referer", &f.reference},
      {"Accept-Language", &f.accept_language},
      {"Content-Type", &f.content_type_post},
      {"User-Agent", &f.agent},
      {"Cookie", &f.cookie},
      {"Range", &f.range_begin},
      {"Range", &f.range_end},
  };
  // clang-format on
  for (const auto& [name, value] : values) {
    if (HasLineBreak(*value)) return name;
  }
  return std::string();
}

}  // namespace tessival::net
