#pragma once
// Taking request addresses apart, the way the HTTP client does for every request and
// every relocation. Deliberately not a general URL parser: upper-case schemes, "http:"
// without slashes and "mailto:" have their own, long-standing readings here.
#include <string>

namespace tessival::net {

struct SplitUrl {
  std::string protocol;
  std::string user;
  std::string password;
  std::string host;
  std::string port;
  std::string path;  // begins with "/" or "?", or is empty
};

// Splits url; base is only used to resolve "./" and "../" forms.
SplitUrl ParseURL(const std::string& url, const std::string& base = std::string());

// The text of path up to and including the last "/" or ":" before the first "?"; empty
// when there is none.
std::string BaseDirectory(const std::string& path);

// The local file name a request's path suggests: the last path segment without a query,
// or "document.htm" for a directory.
std::string DocFileNameFromPath(const std::string& path);

// ".exe" or no extension, served as "text/html", is renamed to ".htm".
std::string AdjustDocFileName(const std::string& doc_file_name, const std::string& content_type);

}  // namespace tessival::net
