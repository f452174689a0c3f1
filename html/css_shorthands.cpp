#include "html/css_shorthands.h"

#include <algorithm>
#include <array>

#include "html/color_parser.h"
#include "html/text_util.h"

namespace tessival::html {

namespace {

constexpr std::size_t FourSides = 4;
constexpr std::size_t FontWords = 7;
constexpr std::size_t ListStyleWords = 7;
constexpr std::size_t MaxFunctions = 7;
constexpr std::size_t AllWords = static_cast<std::size_t>(-1);

// Trims, reduces runs of spaces to one and drops the space after ", ".
std::string NormaliseSpaces(std::string_view value) {
  value = Trim(value);
  std::string result;
  result.reserve(value.size());
  for (char c : value) {
    if (c == ' ' && !result.empty() && (result.back() == ' ' || result.ends_with(","))) {
      continue;
    }
    result += c;
  }
  return result;
}

std::string Fixed(std::string_view value, const TUrlFixer& fixUrl) {
  return fixUrl ? fixUrl(value) : std::string(value);
}

bool IsColorWord(std::string_view word) { return ColorFromString(word, true).has_value(); }

using SideNames = std::array<std::string_view, 4>;  // top, right, bottom, left
constexpr SideNames MarginNames = {"margin-top", "margin-right", "margin-bottom", "margin-left"};
constexpr SideNames PaddingNames = {"padding-top", "padding-right", "padding-bottom", "padding-left"};
constexpr SideNames BorderWidthNames = {"border-top-width", "border-right-width",
                                        "border-bottom-width", "border-left-width"};

void ExpandSides(const SideNames& names, std::string_view value, const TDeclarationSink& sink) {
  const auto words = SplitValueWords(value, FourSides);
  if (words.empty()) return;
  // top, right, bottom, left from the words given: 1 → all; 2 → vertical, horizontal;
  // 3 → top, horizontal, bottom.
  static constexpr std::array<std::array<int, 4>, 4> pick = {{
      {0, 0, 0, 0}, {0, 1, 0, 1}, {0, 1, 2, 1}, {0, 1, 2, 3}}};
  const auto& chosen = pick[words.size() - 1];
  for (std::size_t side = 0; side < FourSides; ++side) sink(names[side], words[chosen[side]]);
}

bool IsBorderStyleWord(std::string_view word) {
  static constexpr std::array<std::string_view, 9> styles = {
      "none", "solid", "dashed", "dotted", "double", "groove", "inset", "outset", "ridge"};
  return std::find(styles.begin(), styles.end(), word) != styles.end();
}

void ExpandBorder(std::string_view name, std::string_view value, const TDeclarationSink& sink) {
  std::string rest(value);
  for (const std::string& function : TakeOutFunctions(rest)) {
    if (IsColorWord(function)) sink("border-color", function);
  }
  const std::string shorthand(name);
  for (const std::string& word : SplitValueWords(rest, AllWords)) {
    if (IsColorWord(word)) {
      sink("border-color", word);
    } else if (IsBorderStyleWord(word)) {
      sink(shorthand + "-style", word);
    } else if (name == "border") {
      ExpandSides(BorderWidthNames, word, sink);
    } else {
      sink(shorthand + "-width", word);
    }
  }
}

void ExpandFont(std::string_view value, const TDeclarationSink& sink) {
  static constexpr std::array<std::string_view, 9> sizeWords = {
      "larger", "smaller", "xx-small", "x-small", "small", "medium", "large", "x-large",
      "xx-large"};
  for (const std::string& word : SplitValueWords(value, FontWords)) {
    if (word.starts_with('/')) {
      sink("line-height", std::string_view(word).substr(1));
    } else if (word == "italic" || word == "oblique") {
      sink("font-style", word);
    } else if (word == "normal" || word == "bolder" || word == "lighter" || word == "bold") {
      sink("font-weight", word);
    } else if (word == "small-caps") {
      // font-variant is not part of the style model.
    } else if ((!word.empty() && IsAsciiDigit(word.front())) ||
               std::find(sizeWords.begin(), sizeWords.end(), word) != sizeWords.end()) {
      sink("font-size", word);
    } else {
      sink("font-family", word);
    }
  }
}

void ExpandBackground(std::string_view value, const TDeclarationSink& sink, const TUrlFixer& fixUrl) {
  std::string rest(value);
  for (const std::string& function : TakeOutFunctions(rest)) {
    if (function.starts_with("rgb(")) sink("background-color", function);
    else sink("background-image", Fixed(function, fixUrl));
  }
  std::vector<std::string> remaining;
  for (std::string& word : SplitValueWords(rest, AllWords)) {
    if (IsColorWord(word)) sink("background-color", word);
    else if (word == "none") sink("background-image", word);
    else if (word.find("repeat") != std::string::npos) sink("background-repeat", word);
    else remaining.push_back(std::move(word));
  }
  if (remaining.empty()) return;
  std::string position;
  for (std::size_t i = remaining.size() >= 2 ? remaining.size() - 2 : 0; i < remaining.size(); ++i) {
    position += remaining[i] + ' ';
  }
  sink("background-position", position);
}

void ExpandListStyle(std::string_view value, const TDeclarationSink& sink, const TUrlFixer& fixUrl) {
  for (const std::string& word : SplitValueWords(value, ListStyleWords)) {
    if (word.find("url(") != std::string::npos) sink("list-style-image", Fixed(word, fixUrl));
    else sink("list-style-type", word);
  }
}

}  // namespace

std::vector<std::string> SplitValueWords(std::string_view value, std::size_t maxWords) {
  const std::string text = NormaliseSpaces(value);
  std::vector<std::string> words;
  std::size_t pos = 0;
  while (pos < text.size() && words.size() < maxWords) {
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] != ' ') {
      if (text[pos] == '"' || text[pos] == '\'') {
        const std::size_t close = text.find(text[pos], pos + 1);
        pos = close == std::string::npos ? text.size() : close + 1;
      } else {
        ++pos;
      }
    }
    const std::string_view word = std::string_view(text).substr(start, pos - start);
    // A url() keeps its path whole.
    const bool splittable = word.size() > 1 && word.find("url(") == std::string_view::npos;
    const std::size_t slash = splittable ? word.find('/', 1) : std::string_view::npos;
    if (slash == std::string_view::npos) {
      words.emplace_back(word);
    } else {
      words.emplace_back(word.substr(0, slash));
      // The second half counts against the limit as well: callers index by word count.
      if (words.size() < maxWords) words.emplace_back(word.substr(slash));
    }
    ++pos;
  }
  return words;
}

std::vector<std::string> TakeOutFunctions(std::string& value) {
  std::vector<std::string> functions;
  while (functions.size() < MaxFunctions) {
    const std::size_t start = std::min(value.find("url("), value.find("rgb("));
    if (start == std::string::npos) break;
    const std::size_t close = value.find(')', start);
    const std::size_t end = close == std::string::npos ? value.size() : close + 1;
    functions.push_back(value.substr(start, end - start));
    value.replace(start, end - start, 1, ' ');
  }
  return functions;
}

bool IsShorthand(std::string_view name) {
  static constexpr std::array<std::string_view, 10> names = {
      "margin", "padding", "border-width", "border", "border-top", "border-right",
      "border-bottom", "border-left", "font", "background"};
  return std::find(names.begin(), names.end(), name) != names.end() || name == "list-style";
}

void ExpandShorthand(std::string_view name, std::string_view value, const TDeclarationSink& sink,
                     const TUrlFixer& fixUrl) {
  if (name == "margin") ExpandSides(MarginNames, value, sink);
  else if (name == "padding") ExpandSides(PaddingNames, value, sink);
  else if (name == "border-width") ExpandSides(BorderWidthNames, value, sink);
  else if (name == "font") ExpandFont(value, sink);
  else if (name == "background") ExpandBackground(value, sink, fixUrl);
  else if (name == "list-style") ExpandListStyle(value, sink, fixUrl);
  else if (name.starts_with("border")) ExpandBorder(name, value, sink);
}

}  // namespace tessival::html
