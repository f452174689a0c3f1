// Arbitrary bytes and declarations through the character-set detection and the
// conversion to the engine's text. The first byte picks a set to force (or none), the
// bytes up to the first line feed are the answer's Content-Type, the rest is the page.
// Every character becomes at most one reference of "&#x" + five digits + ";".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string_view>

#include "html/page_charset.h"

using namespace tessival::html;

namespace {

constexpr std::size_t kLongestReference = 9;

constexpr PageCharset kSets[] = {
    PageCharset::kWindows1252, PageCharset::kIso8859_1,   PageCharset::kIso8859_15,
    PageCharset::kWindows1250, PageCharset::kWindows1251, PageCharset::kWindows1253,
    PageCharset::kWindows1254, PageCharset::kWindows1255, PageCharset::kWindows1256,
    PageCharset::kWindows1257, PageCharset::kWindows1258, PageCharset::kUtf8,
    PageCharset::kUtf16Le,     PageCharset::kUtf16Be,     PageCharset::kAsDeclared,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t pick = data[0];
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t line_end = rest.find('\n');
  const std::string_view content_type = rest.substr(0, line_end);
  const std::string_view page = line_end == std::string_view::npos ? std::string_view()
                                                                   : rest.substr(line_end + 1);

  std::optional<PageCharset> forced;
  if (pick < std::size(kSets)) forced = kSets[pick];
  const PageText decoded = DecodePage(page, content_type, forced);
  if (decoded.text.size() > page.size() * kLongestReference) std::abort();
  if (decoded.decision.charset == PageCharset::kWindows1252 && decoded.text != page) std::abort();
  (void)LooksLikeUtf8(page);
  (void)DeclaredMetaCharset(page);
  (void)PageCharsetOfLabel(content_type);
  return 0;
}
