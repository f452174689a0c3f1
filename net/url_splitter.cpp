#include "net/url_splitter.h"

#include <algorithm>

#include "net/wsocket_resolve.h"

namespace tessival::net {
namespace {

bool IsSchemeCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// The directory relative forms are resolved against: "/" when the base has none.
std::string RelativeBase(const std::string& base) {
  return base.find('/') == std::string::npos ? "/" : BaseDirectory(base);
}

// "../" climbs one directory for each of its repetitions.
std::string ResolveParentForms(const std::string& url, const std::string& base) {
  std::string directory = RelativeBase(base);
  std::string rest = url.substr(3);
  for (;;) {
    if (!directory.empty() && directory.back() == '/') directory.pop_back();
    const std::size_t slash = directory.rfind('/');
    directory = slash == std::string::npos ? "/" : directory.substr(0, slash + 1);
    if (!StartsWith(rest, "../")) break;
    rest.erase(0, 3);
  }
  return directory + rest;
}

// Where the authority starts, or npos when the url is a path only (its protocol is set).
std::size_t AuthorityStart(const std::string& url, SplitUrl& out) {
  const std::size_t separator = url.find("://");
  if (separator != std::string::npos) {
    const bool scheme = std::all_of(url.begin(), url.begin() + static_cast<long>(separator),
                                    IsSchemeCharacter);
    out.protocol = scheme ? url.substr(0, separator) : "http";
    return scheme ? separator + 3 : 0;
  }
  if (url[0] == '/') {
    out.protocol = "http";
    if (url.size() < 2 || url[1] != '/') {
      out.path = url;
      return std::string::npos;
    }
    return 2;
  }
  if (LowerCase(url.substr(0, 5)) == "http:") {
    out.protocol = "http";
    if (url.size() > 6 && url[6] != '/') {
      out.path = url.substr(5);
      return std::string::npos;
    }
    return 6;
  }
  if (LowerCase(url.substr(0, 7)) == "mailto:") {
    out.protocol = "mailto";
    return url.find(':') + 1;
  }
  return 0;
}

void SplitAuthority(const std::string& authority, SplitUrl& out) {
  const std::size_t colon = authority.rfind(':');
  const std::size_t at = authority.rfind('@');
  if (colon == std::string::npos && at == std::string::npos) {
    out.host = authority;
    return;
  }
  if (at != std::string::npos && (colon == std::string::npos || at > colon)) {
    out.host = authority.substr(at + 1);
  } else {
    out.port = authority.substr(colon + 1);
    const std::size_t host_start = at == std::string::npos ? 0 : at + 1;
    out.host = authority.substr(host_start, colon - host_start);
    if (at == std::string::npos) return;
  }
  const std::string credentials = authority.substr(0, at);
  const std::size_t first_colon = credentials.find(':');
  out.user = credentials.substr(0, first_colon);
  if (first_colon != std::string::npos) out.password = credentials.substr(first_colon + 1);
}

}  // namespace

std::string BaseDirectory(const std::string& path) {
  const std::size_t query = path.find('?');
  const std::string head = path.substr(0, query);
  const std::size_t last = head.find_last_of("/:");
  return last == std::string::npos ? std::string() : head.substr(0, last + 1);
}

SplitUrl ParseURL(const std::string& url, const std::string& base) {
  SplitUrl out;
  if (url.empty()) return out;
  if (StartsWith(url, "./")) {
    out.path = RelativeBase(base) + url.substr(2);
    return out;
  }
  if (StartsWith(url, "../")) {
    out.path = ResolveParentForms(url, base);
    return out;
  }
  std::size_t start = AuthorityStart(url, out);
  if (start == std::string::npos) return out;
  start = std::min(start, url.size());  // "http:" has no seventh character
  const std::size_t end = std::min(url.find('/', start), url.find('?', start));
  const std::size_t authority_end = end == std::string::npos ? url.size() : end;
  if (authority_end < url.size()) out.path = url.substr(authority_end);
  SplitAuthority(url.substr(start, authority_end - start), out);
  return out;
}

std::string DocFileNameFromPath(const std::string& path) {
  const std::string without_query = path.substr(0, path.find('?'));
  if (without_query.empty() || without_query.back() == '/') return "document.htm";
  std::string name = without_query.substr(without_query.rfind('/') + 1);
  name = name.substr(0, std::min<std::size_t>(name.size(), 255));
  return name.substr(0, name.find('?'));
}

std::string AdjustDocFileName(const std::string& doc_file_name, const std::string& content_type) {
  if (content_type != "text/html") return doc_file_name;
  const std::size_t dot = doc_file_name.rfind('.');
  const std::string extension = dot == std::string::npos ? "" : LowerCase(doc_file_name.substr(dot));
  if (extension == ".exe") return doc_file_name.substr(0, dot + 1) + "htm";
  if (extension.empty()) return doc_file_name + ".htm";
  return doc_file_name;
}

}  // namespace tessival::net
