#pragma once
// A document's style sheet and a stack of open elements, as the tag reader keeps them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "html/css_parser.h"
#include "html/style_list.h"
#include "platform/screen_fonts.h"

namespace tessival::html::testing {

struct OpenElement {
  std::string tag = {};
  std::string klass = {};
  std::string id = {};
  std::string pseudo = {};
  std::string style = {};  // a style attribute
  std::string title = {};
};

class StyleFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Stack.clear();
    platform::SetScreenPixelsPerInch(96);
    platform::SetInstalledScreenFonts({"Arial", "Courier New", "Times New Roman", "Wingdings"});
    platform::SetScreenFontMeasurer({});
    Styles.Initialize(Defaults);
    auto root = std::make_unique<TProperties>();
    root->CopyDefault(*Styles.DefaultProperties());
    Stack.push_back(std::move(root));
  }
  void TearDown() override {
    platform::SetInstalledScreenFonts({"Arial", "Courier New", "Times New Roman", "MS Sans Serif"});
    platform::SetScreenFontMeasurer({});
  }

  void Sheet(std::string_view text) {
    TStringCharSource source(text);
    char ch = ' ';
    ParseStyleSheet(Styles, ch, source, "");
  }

  TProperties& Push(const OpenElement& element) {
    auto props = std::make_unique<TProperties>();
    props->Inherit(*Stack.back());
    const TProperties* style = nullptr;
    if (!element.style.empty()) {
      auto parsed = std::make_unique<TProperties>();
      ParseStyleAttribute(element.style, *parsed);
      style = parsed.get();
      StyleAttributes.push_back(std::move(parsed));
    }
    props->Combine(Styles, element.tag, style, element.title, element.pseudo, element.id, element.klass);
    Stack.push_back(std::move(props));
    return *Stack.back();
  }
  TProperties& Push(const char* tag) { return Push(OpenElement{tag}); }

  // Opens the elements in order and returns the innermost.
  TProperties& Nest(std::initializer_list<OpenElement> chain) {
    TProperties* last = Stack.back().get();
    for (const auto& element : chain) last = &Push(element);
    return *last;
  }

  TStyleDefaults Defaults;
  TStyleList Styles;
  std::vector<std::unique_ptr<TProperties>> StyleAttributes;
  std::vector<std::unique_ptr<TProperties>> Stack;
};

// How Str shows a stored integer.
inline std::string Int(long long value) { return "int:" + std::to_string(value); }

inline std::string Str(const PropValue& v) {
  if (const auto s = AsString(v)) return std::string(*s);
  if (const auto* i = AsInt(v)) return "int:" + std::to_string(*i);
  if (const auto* d = AsDouble(v)) return "num:" + std::to_string(*d);
  return "empty";
}

}  // namespace tessival::html::testing
