// Reads arbitrary bytes as a style attribute and asks the result everything layout asks.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "html/css_parser.h"
#include "html/properties.h"

using namespace tessival::html;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  TProperties style;
  ParseStyleAttribute(text, style);
  TProperties element;
  element.Merge(style);
  (void)element.GetFontInfo();
  (void)element.BoxPixels(500);
  (void)element.BackgroundPosition(16, 8);
  (void)element.BackgroundImage();
  (void)element.ListStyleImage();
  (void)element.LineHeight(14);
  (void)element.TextIndent();
  (void)element.VerticalAlign();
  (void)element.ListStyleType();
  return 0;
}
