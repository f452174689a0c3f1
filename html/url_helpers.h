#pragma once
// The rules that turn a link found in a document into a full URL or a local file name.
#include <string>
#include <string_view>

namespace tessival::html {

// The URL up to and including the last "/" of its path, without the query:
// "http://host/dir/page.htm?x=1" gives "http://host/dir/"; "http://host" gives
// "http://host/".
std::string GetBase(std::string_view url);
// The link resolved against the base; "/../" and "/./" are resolved, never above the host.
std::string CombineUrl(std::string_view base, std::string_view relative);
// True for "scheme://..." (the "://" before any other "/") and for mail links.
bool IsFullUrl(std::string_view url);
// A link to a local file as a POSIX path: %-escapes decoded, a "file://" prefix removed,
// a drive ("C|/" or "C:/", with or without a leading "/") dropped so the path starts at
// the root, and "\" taken as a path separator.
std::string UrlToFileName(std::string_view url);
// UrlToFileName, trimmed; a root-relative link ("/x", not "//x" and not from a "file:"
// URL or a drive form) is put under `basePath`.
std::string ExpandFileName(std::string_view name, std::string_view basePath);

}  // namespace tessival::html
