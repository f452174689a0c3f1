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
void NormaliseSpaces(std::string_view value, std::string& result) {
  value = Trim(value);
  result.clear();
  result.reserve(value.size());
  for (char c : value) {
    if (c == ' ' && !result.empty() && (result.back() == ' ' || result.back() == ',')) {
      continue;
    }
    result += c;
  }
}

// The words of a value as views of `text`, which holds the value with its spaces
// normalised; the expanders read them in place instead of copying each word.
void SplitWords(std::string_view value, std::size_t maxWords, std::string& text,
                std::vector<std::string_view>& words) {
  NormaliseSpaces(value, text);
  words.clear();
  // One allocation for the usual shorthand instead of one per doubling.
  constexpr std::size_t UsualWords = 8;
  words.reserve(std::min(maxWords, UsualWords));
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
      words.push_back(word);
    } else {
      words.push_back(word.substr(0, slash));
      // The second half counts against the limit as well: callers index by word count.
      if (words.size() < maxWords) words.push_back(word.substr(slash));
    }
    ++pos;
  }
}

// The words of a value and its spaces-normalised text, kept together so that the views stay valid.
struct TWords {
  TWords(std::string_view value, std::size_t maxWords) { SplitWords(value, maxWords, Text, Items); }
  TWords(const TWords&) = delete;
  TWords& operator=(const TWords&) = delete;

  std::string Text;
  std::vector<std::string_view> Items;
};

std::string Fixed(std::string_view value, const TUrlFixer& fixUrl) {
  return fixUrl ? fixUrl(value) : std::string(value);
}

// Lengths are the most common words of a shorthand; none of them can be a colour (a colour
// word needs a "#", an rgb() or a name), so they skip the colour parser.
bool IsColorWord(std::string_view word) {
  if (word.empty() || IsAsciiDigit(word.front())) return false;
  return ColorFromString(word, true).has_value();
}

using SideNames = std::array<std::string_view, 4>;  // top, right, bottom, left
constexpr SideNames MarginNames = {"margin-top", "margin-right", "margin-bottom", "margin-left"};
constexpr SideNames PaddingNames = {"padding-top", "padding-right", "padding-bottom", "padding-left"};
constexpr SideNames BorderWidthNames = {"border-top-width", "border-right-width",
                                        "border-bottom-width", "border-left-width"};

void ExpandSides(const SideNames& names, std::string_view value, const TDeclarationSink& sink) {
  const TWords split(value, FourSides);
  const auto& words = split.Items;
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

// The style and width longhands a border shorthand sets for its style and width words.
struct TBorderNames {
  std::string_view Shorthand, Style, Width;
};
constexpr std::array<TBorderNames, 5> BorderNames = {{
    {"border", "border-style", "border-width"},
    {"border-top", "border-top-style", "border-top-width"},
    {"border-right", "border-right-style", "border-right-width"},
    {"border-bottom", "border-bottom-style", "border-bottom-width"},
    {"border-left", "border-left-style", "border-left-width"},
}};

const TBorderNames* BorderNamesOf(std::string_view name) {
  for (const TBorderNames& names : BorderNames) {
    if (names.Shorthand == name) return &names;
  }
  return nullptr;
}

void ExpandBorder(std::string_view name, std::string_view value, const TDeclarationSink& sink) {
  std::string rest(value);
  for (const std::string& function : TakeOutFunctions(rest)) {
    if (IsColorWord(function)) sink("border-color", function);
  }
  const TBorderNames* names = BorderNamesOf(name);
  std::string ownStyle, ownWidth;
  if (!names) {  // a name outside the table: its longhands are spelled out
    ownStyle = std::string(name) + "-style";
    ownWidth = std::string(name) + "-width";
  }
  const std::string_view styleName = names ? names->Style : std::string_view(ownStyle);
  const std::string_view widthName = names ? names->Width : std::string_view(ownWidth);
  const TWords split(rest, AllWords);
  for (const std::string_view word : split.Items) {
    if (IsColorWord(word)) {
      sink("border-color", word);
    } else if (IsBorderStyleWord(word)) {
      sink(styleName, word);
    } else if (name == "border") {
      ExpandSides(BorderWidthNames, word, sink);
    } else {
      sink(widthName, word);
    }
  }
}

void ExpandFont(std::string_view value, const TDeclarationSink& sink) {
  static constexpr std::array<std::string_view, 9> sizeWords = {
      "larger", "smaller", "xx-small", "x-small", "small", "medium", "large", "x-large",
      "xx-large"};
  const TWords split(value, FontWords);
  for (const std::string_view word : split.Items) {
    if (word.starts_with('/')) {
      sink("line-height", word.substr(1));
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
  const TWords split(rest, AllWords);
  // The last two words that are neither colour, image nor repeat give the position.
  std::string_view remaining[2];
  std::size_t remainingCount = 0;
  for (const std::string_view word : split.Items) {
    if (IsColorWord(word)) sink("background-color", word);
    else if (word == "none") sink("background-image", word);
    else if (word.find("repeat") != std::string_view::npos) sink("background-repeat", word);
    else {
      remaining[0] = remaining[1];
      remaining[1] = word;
      ++remainingCount;
    }
  }
  if (remainingCount == 0) return;
  std::string position;
  for (std::size_t i = remainingCount >= 2 ? 0 : 1; i < 2; ++i) {
    position += remaining[i];
    position += ' ';
  }
  sink("background-position", position);
}

void ExpandListStyle(std::string_view value, const TDeclarationSink& sink, const TUrlFixer& fixUrl) {
  const TWords split(value, ListStyleWords);
  for (const std::string_view word : split.Items) {
    if (word.find("url(") != std::string_view::npos) sink("list-style-image", Fixed(word, fixUrl));
    else sink("list-style-type", word);
  }
}

}  // namespace

std::vector<std::string> SplitValueWords(std::string_view value, std::size_t maxWords) {
  const TWords split(value, maxWords);
  return {split.Items.begin(), split.Items.end()};
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
