#include "html/page_charset.h"

#include <cstdint>

#include "html/html_tokenizer.h"
#include "html/text_util.h"

namespace tessival::html {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// The longest code point a reference may carry: the tokenizer reads at most five digits.
constexpr std::uint32_t kLargestReference = 0xFFFFF;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// One UTF-8 character at `at`. `length` bytes are used up: for a bad sequence, the lead
// and the continuation bytes before the byte that broke it, which is read again as a lead.
struct Utf8Char {
  std::uint32_t code_point = 0;
  std::size_t length = 1;
  bool valid = false;
  bool cut_off = false;  // the page ends inside the sequence
};

Utf8Char ReadUtf8Char(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80) return {lead, 1, true, false};
  std::size_t continuations = 0;
  std::uint32_t code_point = 0;
  std::uint32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuations = 1, code_point = lead & 0x1Fu, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuations = 2, code_point = lead & 0x0Fu, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuations = 3, code_point = lead & 0x07u, least = 0x10000;
  } else {
    return {};
  }
  for (std::size_t k = 1; k <= continuations; ++k) {
    if (at + k >= text.size()) return {0, k, false, true};
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) return {0, k, false, false};
    code_point = (code_point << 6) | (next & 0x3Fu);
  }
  const bool surrogate = code_point >= 0xD800 && code_point <= 0xDFFF;
  if (code_point < least || code_point > 0x10FFFF || surrogate)
    return {0, continuations + 1, false, false};
  return {code_point, continuations + 1, true, false};
}

void AppendEngineChar(std::string& out, std::uint32_t code_point) {
  if (const auto byte = Windows1252ByteOf(code_point)) {
    out += static_cast<char>(*byte);
    return;
  }
  if (code_point > kLargestReference) {
    out += '?';
    return;
  }
  static constexpr char kHex[] = "0123456789ABCDEF";
  char digits[8];
  int count = 0;
  for (std::uint32_t rest = code_point; rest != 0 || count == 0; rest >>= 4)
    digits[count++] = kHex[rest & 15];
  out += "&#x";
  while (count > 0) out += digits[--count];
  out += ';';
}

std::string ConvertUtf8(std::string_view text) {
  if (StartsWith(text, kUtf8Mark)) text.remove_prefix(kUtf8Mark.size());
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  std::size_t at = 0;
  while (at < text.size()) {
    const Utf8Char read = ReadUtf8Char(text, at);
    if (read.valid) AppendEngineChar(out, read.code_point);
    else out += '?';
    at += read.length;
  }
  return out;
}

std::string ConvertUtf16(std::string_view text, bool little_endian) {
  if (StartsWith(text, little_endian ? kUtf16LeMark : kUtf16BeMark)) text.remove_prefix(2);
  const auto unit_at = [&](std::size_t at) -> std::uint32_t {
    const auto first = static_cast<unsigned char>(text[at]);
    const auto second = static_cast<unsigned char>(text[at + 1]);
    return little_endian ? first | (second << 8u) : (first << 8u) | second;
  };
  std::string out;
  out.reserve(text.size() / 2);
  std::size_t at = 0;
  while (at + 1 < text.size()) {
    const std::uint32_t unit = unit_at(at);
    at += 2;
    if (unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size()) {
      const std::uint32_t low = unit_at(at);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        at += 2;
        AppendEngineChar(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        continue;
      }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) out += '?';
    else AppendEngineChar(out, unit);
  }
  if (at < text.size()) out += '?';  // half a unit at the end
  return out;
}

std::string ConvertByTable(std::string_view text, PageCharset charset) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out += c;
      continue;
    }
    const std::uint32_t code_point = CodePointOfByte(charset, byte);
    if (code_point == 0) out += '?';
    else AppendEngineChar(out, code_point);
  }
  return out;
}

std::optional<PageCharset> ByteOrderMarkCharset(std::string_view page) {
  if (StartsWith(page, kUtf8Mark)) return PageCharset::kUtf8;
  if (StartsWith(page, kUtf16LeMark)) return PageCharset::kUtf16Le;
  if (StartsWith(page, kUtf16BeMark)) return PageCharset::kUtf16Be;
  return std::nullopt;
}

std::optional<PageCharset> CharsetOfMetaTag(const TAttributeList& attributes) {
  std::optional<PageCharset> declared;
  if (const TAttribute* charset = attributes.Find(CharSetSy))
    declared = PageCharsetOfLabel(charset->StrValue);
  const TAttribute* http_equiv = attributes.Find(HttpEqSy);
  const TAttribute* content = attributes.Find(ContentSy);
  if (!declared && http_equiv != nullptr && content != nullptr &&
      ToLower(Trim(http_equiv->StrValue)) == "content-type") {
    declared = PageCharsetOfLabel(CharsetParameter(content->StrValue));
  }
  // Bytes a tokenizer could read this far are not UTF-16, whatever the page says; such a
  // declaration means UTF-8 in practice.
  if (declared == PageCharset::kUtf16Le || declared == PageCharset::kUtf16Be)
    declared = PageCharset::kUtf8;
  return declared;
}

}  // namespace

std::string CharsetParameter(std::string_view content_type) {
  const std::string lower = ToLower(content_type);
  for (std::size_t found = lower.find("charset"); found != std::string::npos;
       found = lower.find("charset", found + 1)) {
    std::size_t at = found + 7;
    while (at < lower.size() && (lower[at] == ' ' || lower[at] == '\t')) ++at;
    if (at >= lower.size() || lower[at] != '=') continue;
    const std::size_t start = at + 1;
    const std::size_t end = content_type.find(';', start);
    std::string_view value = content_type.substr(start,
                                                 end == std::string_view::npos ? end : end - start);
    value = Trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
      value = Trim(value.substr(1, value.size() - 2));
    }
    return std::string(value);
  }
  return {};
}

std::optional<PageCharset> DeclaredMetaCharset(std::string_view page) {
  const std::string_view top = page.substr(0, kMetaSearchLength);
  THtmlTokenizer reader;
  reader.Reset(top);
  try {
    reader.ReadChar();
    for (reader.ReadToken(); reader.Sy() != EofToken; reader.ReadToken()) {
      if (reader.Sy() != MetaSy) continue;
      if (const auto declared = CharsetOfMetaTag(reader.Attributes())) return declared;
    }
  } catch (const EParseError&) {
    // A comment still open where the search stops hides the rest of it.
  }
  return std::nullopt;
}

bool LooksLikeUtf8(std::string_view page) {
  bool beyond_ascii = false;
  std::size_t at = 0;
  while (at < page.size()) {
    const Utf8Char read = ReadUtf8Char(page, at);
    if (!read.valid && !read.cut_off) return false;
    if (read.valid && read.length > 1) beyond_ascii = true;
    at += read.length;
  }
  return beyond_ascii;
}

CharsetDecision DetectPageCharset(std::string_view page, std::string_view content_type) {
  if (const auto declared = PageCharsetOfLabel(CharsetParameter(content_type))) {
    return {*declared, CharsetSource::kContentType};
  }
  if (const auto marked = ByteOrderMarkCharset(page)) return {*marked, CharsetSource::kByteOrderMark};
  if (const auto declared = DeclaredMetaCharset(page)) return {*declared, CharsetSource::kMeta};
  if (LooksLikeUtf8(page)) return {PageCharset::kUtf8, CharsetSource::kUtf8Content};
  return {};
}

std::string ConvertToEngineText(std::string_view page, PageCharset charset) {
  switch (charset) {
    case PageCharset::kWindows1252:
    case PageCharset::kIso8859_1:
    case PageCharset::kAsDeclared: return std::string(page);
    case PageCharset::kUtf8: return ConvertUtf8(page);
    case PageCharset::kUtf16Le: return ConvertUtf16(page, true);
    case PageCharset::kUtf16Be: return ConvertUtf16(page, false);
    default: return ConvertByTable(page, charset);
  }
}

PageText DecodePage(std::string_view page, std::string_view content_type,
                    std::optional<PageCharset> forced) {
  PageText result;
  result.decision = forced ? CharsetDecision{*forced, CharsetSource::kOverride}
                           : DetectPageCharset(page, content_type);
  result.text = ConvertToEngineText(page, result.decision.charset);
  return result;
}

}  // namespace tessival::html
