#pragma once
// Which character set a fetched page is in, and the page in the engine's single-byte form.
//
// The engine reads Windows-1252 bytes. A page in another set is converted before the
// viewer reads it: characters Windows-1252 holds become its bytes, every other character
// a hexadecimal character reference ("&#x3B1;"), which the tokenizer resolves for the
// element's code page where a font has the character. The file on disk stays as received;
// only the text handed to the reader is converted.
#include <optional>
#include <string>
#include <string_view>

#include "html/charset_tables.h"

namespace tessival::html {

// Where the decision came from, strongest first.
enum class CharsetSource {
  kOverride,       // the caller named the set
  kContentType,    // the charset of the answer's Content-Type header
  kByteOrderMark,  // the page starts with one
  kMeta,           // a META charset or http-equiv declaration near the top
  kUtf8Content,    // nothing declared, but the bytes are UTF-8 with characters beyond ASCII
  kDefault,        // nothing at all: the engine's own set
};

struct CharsetDecision {
  PageCharset charset = PageCharset::kWindows1252;
  CharsetSource source = CharsetSource::kDefault;
};

// Only this much of the top of a page is searched for a META declaration.
constexpr std::size_t kMetaSearchLength = 1024;

// The charset parameter of a Content-Type value ("text/html; Charset=\"UTF-8\"" gives
// "UTF-8"), unquoted and trimmed; empty when there is none.
std::string CharsetParameter(std::string_view content_type);

// The set the first META in the first kMetaSearchLength bytes declares, with its CHARSET
// attribute or an HTTP-EQUIV="Content-Type" CONTENT; META tags naming no known set are
// passed over. Read with the document tokenizer, so comments and quoting count as they do
// for the page itself.
std::optional<PageCharset> DeclaredMetaCharset(std::string_view page);

// True when the bytes are UTF-8 and hold at least one character beyond ASCII. A sequence
// cut off by the end of the page does not count against it: a transfer that stopped short.
bool LooksLikeUtf8(std::string_view page);

// The page's set from, in this order: the Content-Type header's charset (empty when the
// answer had none), a byte-order mark, a META declaration, UTF-8 content, else
// Windows-1252. Names nobody knows are passed over.
CharsetDecision DetectPageCharset(std::string_view page, std::string_view content_type);

// The page in the engine's form (see above); a byte-order mark of the set is dropped and
// bytes that are not valid in the set become "?".
std::string ConvertToEngineText(std::string_view page, PageCharset charset);

struct PageText {
  std::string text;  // in the engine's form
  CharsetDecision decision;
  // A set was decided and the text converted from it: the reader must then pass over
  // the set a META tag declares. Undecided text is left to the reader's own META handling
  // (for the sets not converted here).
  bool Converted() const { return decision.source != CharsetSource::kDefault; }
};

// Detection and conversion in one: what a viewer calls with a page's bytes. `forced`
// overrides the detection.
PageText DecodePage(std::string_view page, std::string_view content_type,
                    std::optional<PageCharset> forced = std::nullopt);

}  // namespace tessival::html
