#pragma once
// The request header of one HTTP/1.0 request, built from plain values without touching the
// client: which lines, in which order, under which condition, and what keeps outside text
// from breaking a line.
//
// No raw line break reaches the wire from outside text:
// - the request target and the "Host:" value have every byte below 33, 127 and every byte
//   from 128 up sent as "%XX" (upper-case hexadecimal). Both are addresses, and an address
//   with a percent escape means the same to a server, so escaping keeps the request useful;
// - user names and passwords travel Base64-encoded, so any byte of theirs is safe as it is;
// - every other value (cookie, agent, sender, referrer, language, accepted types, content
//   type, range) is text the server reads as it stands. Escaping or dropping a byte there
//   would silently send a value the caller never gave, so a value holding CR or LF is
//   refused instead (FirstValueWithLineBreak) and the request is not sent at all.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/http_date.h"

namespace tessival::net {

struct RequestHeaderFields {
  std::string method;       // "GET", "POST" or "HEAD"
  std::string path;         // the request target as the address gives it
  std::string server_host;  // for "Host:"
  std::string sender;       // "From:"
  std::string accept;
  std::string reference;  // "Referer:"
  std::string accept_language;
  std::string content_type_post;
  std::string agent;
  bool no_cache = false;
  std::int64_t post_size = 0;  // sent for a POST only
  TDateTime modified_since = 0;
  std::string username, password;
  bool through_proxy = false;
  std::string proxy_username, proxy_password;
  std::string cookie;
  std::string range_begin, range_end;
};

// The header lines, without their CR LF and without the empty line that ends the header.
std::vector<std::string> BuildRequestHeader(const RequestHeaderFields& fields);

// An address as it may stand in a request line: bytes below 33, 127 and from 128 up as
// "%XX"; every other byte (a "%" included) as it is.
std::string EscapeRequestTarget(std::string_view address);

// The name of the first header whose value would carry a CR or LF onto the wire, or empty
// when every value can be sent.
std::string FirstValueWithLineBreak(const RequestHeaderFields& fields);

}  // namespace tessival::net
