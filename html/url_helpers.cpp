#include "html/url_helpers.h"

#include <algorithm>

#include "html/ascii_text.h"

namespace tessival::html {
namespace {

constexpr std::size_t npos = std::string::npos;

using ascii::Lower;
using ascii::TrimControls;
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::size_t FindNoCase(std::string_view text, std::string_view part) {
  const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                 [](char a, char b) { return Lower(a) == Lower(b); });
  return found == text.end() ? npos : static_cast<std::size_t>(found - text.begin());
}

void ReplaceAll(std::string& text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
}

// The index of the slash that ends the host, appending one when the base has none.
std::size_t HostEnd(std::string& base) {
  std::size_t hostEnd = npos;
  const std::size_t scheme = base.find("://");
  if (scheme != npos) {
    hostEnd = base.find('/', scheme + 3);
  } else {
    hostEnd = base.find('/');
  }
  if (hostEnd == npos) {
    // "http://h" has no slash after its host: the one appended ends it, so that "/x"
    // resolves to "http://h/x" rather than losing the host.
    base += '/';
    return base.size() - 1;
  }
  if (base.back() != '/') base += '/';
  return hostEnd;
}

// "/../" removes the segment before it, but never reaches into the host.
void ResolveParentSteps(std::string& url, std::size_t hostEnd) {
  for (std::size_t step = url.find("/../"); step != npos; step = url.find("/../")) {
    if (step <= hostEnd) {
      url.erase(step + 1, 3);
      continue;
    }
    const std::size_t segment = url.rfind('/', step - 1);
    if (segment == npos || segment < hostEnd) return;
    url.erase(segment + 1, step + 4 - (segment + 1));
  }
}

void ResolveSameSteps(std::string& url) {
  for (std::size_t step = url.find("/./"); step != npos; step = url.find("/./", step)) {
    url.erase(step + 1, 2);
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = Lower(c);
  return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

// "%41" becomes "A"; decoding stops at the first escape that is not hexadecimal, and a
// text that begins with "%" is left alone.
std::string DecodePercent(std::string_view text) {
  std::string out(text);
  if (!out.empty() && out.front() == '%') return out;
  for (std::size_t at = out.find('%'); at != npos && at + 2 < out.size(); at = out.find('%', at + 1)) {
    const int high = HexValue(out[at + 1]);
    const int low = HexValue(out[at + 2]);
    if (high < 0 || low < 0) break;
    out.replace(at, 3, 1, static_cast<char>(high * 16 + low));
  }
  return out;
}

struct LocalName {
  std::string path;
  bool absolute = false;  // from a "file:" URL or a drive form
};

LocalName ToLocalName(std::string_view url) {
  LocalName name{DecodePercent(url)};
  std::string& path = name.path;
  if (path.find('/') != npos || path.find('\\') != npos) {
    const std::size_t scheme = FindNoCase(path, "file://");
    if (scheme != npos) {
      path.erase(scheme, 7);
      name.absolute = true;
    }
    ReplaceAll(path, '\\', '/');
    const std::size_t drive = !path.empty() && path.front() == '/' ? 1 : 0;
    if (path.size() >= drive + 3 && IsLetter(path[drive]) &&
        (path[drive + 1] == '|' || path[drive + 1] == ':') && path[drive + 2] == '/') {
      path.erase(0, drive + 2);
      name.absolute = true;
    }
  }
  return name;
}

}  // namespace

std::string GetBase(std::string_view url) {
  std::string_view text = TrimControls(url);
  text = text.substr(0, text.find('?'));
  // The path starts after a host of at least one character.
  const std::size_t slashes = text.find("//");
  const std::size_t from = slashes == npos ? 0 : slashes + 3;
  const std::size_t last = text.rfind('/');
  if (last == npos || last < from) return std::string(text) + '/';
  return std::string(text.substr(0, last + 1));
}

std::string CombineUrl(std::string_view base, std::string_view relative) {
  std::string result(base);
  const std::size_t hostEnd = HostEnd(result);
  const std::string_view link = TrimControls(relative);
  if (link.empty() || link.front() != '/') {
    result += link;
  } else if (link.starts_with("//")) {
    // A link without scheme keeps the base's scheme and brings its own host.
    const std::size_t scheme = result.find("://");
    result = scheme != npos ? result.substr(0, scheme + 1) + std::string(link)
                            : result.substr(0, hostEnd + 1) + std::string(link);
    return result;
  } else {
    result = result.substr(0, hostEnd + 1) + std::string(link.substr(1));
  }
  ResolveParentSteps(result, hostEnd);
  ResolveSameSteps(result);
  return result;
}

bool IsFullUrl(std::string_view url) {
  const std::size_t scheme = url.find("://");
  if (scheme != npos && scheme < url.find('/')) return true;
  return FindNoCase(url, "mailto:") != npos;
}

std::string UrlToFileName(std::string_view url) { return ToLocalName(url).path; }

std::string ExpandFileName(std::string_view name, std::string_view basePath) {
  LocalName local = ToLocalName(name);
  std::string path(TrimControls(local.path));
  if (path.empty() || basePath.empty() || local.absolute || path.starts_with("//") ||
      path.front() != '/') {
    return path;
  }
  std::string_view root = basePath;
  while (!root.empty() && root.back() == '/') root.remove_suffix(1);
  return std::string(root) + path;
}

}  // namespace tessival::html
