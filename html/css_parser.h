#pragma once
// The forgiving reader for the CSS the style model understands. Whatever it cannot read it
// passes over; it never fails and never reports.
#include <string_view>

#include "html/css_char_source.h"
#include "html/css_url_resolver.h"

namespace tessival::html {

class TProperties;
class TStyleList;

// Reads rules from `source` into `styles` until the end of input or a "<" (the end tag of a
// STYLE element). `currentChar` is the caller's character on entry and, on return, the
// upper-cased character at which reading stopped. `base` is where url() values are made
// absolute from (empty: left as written; needs `urls`).
void ParseStyleSheet(TStyleList& styles, char& currentChar, TCssCharSource& source,
                     std::string_view base, const TCssUrlResolver* urls = nullptr);

// Reads the declarations of a style attribute into `props`.
void ParseStyleAttribute(std::string_view text, TProperties& props);

}  // namespace tessival::html
