// Reads arbitrary bytes as a style sheet, then styles a few elements against what was read,
// so that odd keys reach the matching code as well.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "html/css_parser.h"
#include "html/style_list.h"

using namespace tessival::html;

namespace {

struct EchoUrls final : TCssUrlResolver {
  bool IsFullUrl(std::string_view url) const override { return url.starts_with("http"); }
  std::string CombineUrl(std::string_view url, std::string_view base) const override {
    return std::string(base) + std::string(url);
  }
  std::string UrlToFileName(std::string_view url) const override { return std::string(url); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The first byte picks the base, so both ways of making URLs absolute are exercised.
  const std::string_view base = size > 0 && (data[0] & 1) ? "http://h/d/" : "c:\\d\\";
  TStyleList styles;
  styles.Initialize({});
  TStringCharSource source(text);
  char ch = ' ';
  const EchoUrls urls;
  ParseStyleSheet(styles, ch, source, base, &urls);

  TProperties root;
  root.CopyDefault(*styles.DefaultProperties());
  TProperties div, a, span;
  div.Inherit(root);
  div.Combine(styles, "div", nullptr, "", "", "main", "box");
  a.Inherit(div);
  a.Combine(styles, "a", nullptr, "", "link", "", "x");
  span.Inherit(a);
  span.Combine(styles, "span", nullptr, "", "", "s", "box");
  (void)span.GetFont();
  (void)span.BoxPixels(640);
  (void)span.BackgroundPosition(16, 8);
  (void)span.LineHeight(16);
  return 0;
}
