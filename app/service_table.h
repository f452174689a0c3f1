#pragma once
// The fifteen query services of the toolbar: for each button, its place on the toolbar,
// where its query goes, how the text is prepared, and which file receives the answer.
#include <span>
#include <string>

namespace tessival::app {

enum class PrePass { kNone, kSpacesToPlus, kLineBreaksToSpaces };
enum class PostProcessing { kNone, kConvertUtf8Page };
// How a service is reached: every service of today answers over TLS.
enum class Scheme { kHttp, kHttps };
// Whether the toolbar leaves an 8-pixel gap after a row's button, closing a group.
enum class ToolbarGap { kNone, kSeparatorAfter };
// The character set a service reads its query in: the memo's own Windows-1252 bytes, or
// the same characters as UTF-8.
enum class QueryCharset { kWindows1252, kUtf8 };

struct ServiceRow {
  const char* caption;    // toolbar caption, as shown
  const char* component;  // the button's component name
  int button_width;       // pixels
  ToolbarGap gap;
  const char* kind;    // what the service is
  Scheme scheme;       // https, or plain http
  const char* host;    // default endpoint; TESSIVAL_SERVICE_HOST replaces it
  const char* prefix;  // path and query, appended after the scheme and host
  PrePass pre_pass;
  bool uses_memo_text;  // false: the address is prefix + suffix alone
  const char* suffix;
  const char* output_file;  // relative to the current directory
  PostProcessing post_processing;
  const char* shown_file;  // the file shown after a successful fetch
  QueryCharset query_charset;
};

// The rows in their toolbar order, left to right.
std::span<const ServiceRow> ServiceTable();

// The row of a caption, or nullptr.
const ServiceRow* FindService(const std::string& caption);

// The host a row's query goes to: TESSIVAL_SERVICE_HOST (host or host:port, after its
// scheme if it has one) when set and not empty, so tests and offline demonstrations can
// point every button at a local server; the row's own host otherwise.
std::string ServiceHost(const ServiceRow& row);

// "https://" or "http://" and the host: the row's own, or TESSIVAL_SERVICE_HOST's. A
// replacement with a scheme ("https://127.0.0.1:8443") keeps it; a bare host is a plain
// HTTP server, as local test servers are.
std::string ServiceOrigin(const ServiceRow& row);

// ServiceOrigin + prefix + encoded pre-pass(memo text) + suffix, encoded by
// EncodeQueryText or, for a UTF-8 row, EncodeQueryTextUtf8. The memo text is Windows-1252
// bytes with CR LF line breaks.
std::string BuildQueryAddress(const ServiceRow& row, const std::string& memo_text);

}  // namespace tessival::app
