#include "html/css_shorthands.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "html/color_parser.h"
#include "html/text_util.h"

namespace tessival::html {

namespace {

constexpr std::size_t FourSides = 4;
constexpr std::size_t FontWords = 7;
constexpr std::size_t ListStyleWords = 7;
constexpr std::size_t MaxFunctions = 7;
constexpr std::size_t AllWords = static_cast<std::size_t>(-1);

// Whether a value would change by NormaliseSpaces beyond trimming: only then are its words
// taken from a normalised copy instead of from the value itself.
bool NeedsNormalising(std::string_view value) {
  for (std::size_t i = 1; i < value.size(); ++i) {
    if (value[i] == ' ' && (value[i - 1] == ' ' || value[i - 1] == ',')) return true;
  }
  return false;
}

// Reduces runs of spaces to one and drops the space after ", " (the value is trimmed);
// `out` has room for the whole value. Returns the length written.
std::size_t NormaliseSpaces(std::string_view value, char* out) {
  std::size_t length = 0;
  char previous = 0;
  for (char c : value) {
    if (c == ' ' && (previous == ' ' || previous == ',')) continue;
    out[length++] = c;
    previous = c;
  }
  return length;
}

// The characters a word does not simply run on over: the space that ends it and the quotes
// that keep a part together; one look-up per character.
constexpr std::array<bool, 256> EndsOrQuotes = [] {
  std::array<bool, 256> table{};
  table[' '] = table['"'] = table['\''] = true;
  return table;
}();

// The words of a value with its spaces normalised, as views of the value or, where it
// needs normalising, of a normalised copy. The usual few words are kept in place, so that
// splitting a shorthand allocates nothing.
class TWords {
 public:
  TWords(std::string_view value, std::size_t maxWords) {
    value = Trim(value);
    // One word with no slash, as most lengths and many values are, is itself.
    if (IsOneWord(value)) {
      if (!value.empty() && maxWords > 0) Add(value);
      return;
    }
    if (NeedsNormalising(value)) {
      char* room = InlineText.data();
      if (value.size() > InlineText.size()) {
        Text.resize(value.size());
        room = Text.data();
      }
      value = std::string_view(room, NormaliseSpaces(value, room));
    }
    Split(value, maxWords);
  }
  TWords(const TWords&) = delete;
  TWords& operator=(const TWords&) = delete;

  std::span<const std::string_view> Items() const {
    if (Count <= InlineWords) return {Inline.Words.data(), Count};
    return More;
  }

 private:
  static bool IsOneWord(std::string_view text) {
    for (const char c : text) {
      if (c == ' ' || c == '/') return false;
    }
    return true;
  }

  void Split(std::string_view text, std::size_t maxWords) {
    // Most values hold no "/" and no url(): looked for once in the value, not in every word.
    const bool anySlash = text.find('/') != std::string_view::npos;
    const bool anyFunction = text.find('(') != std::string_view::npos;
    std::size_t pos = 0;
    while (pos < text.size() && Count < maxWords) {
      const std::size_t start = pos;
      while (pos < text.size()) {
        const char c = text[pos];
        if (!EndsOrQuotes[static_cast<unsigned char>(c)]) {
          ++pos;
        } else if (c == ' ') {
          break;
        } else {
          const std::size_t close = text.find(c, pos + 1);
          pos = close == std::string::npos ? text.size() : close + 1;
        }
      }
      const std::string_view word = text.substr(start, pos - start);
      // A url() keeps its path whole.
      const bool splittable = anySlash && word.size() > 1 &&
                              !(anyFunction && word.find("url(") != std::string_view::npos);
      const std::size_t slash = splittable ? word.find('/', 1) : std::string_view::npos;
      if (slash == std::string_view::npos) {
        Add(word);
      } else {
        Add(word.substr(0, slash));
        // The second half counts against the limit as well: callers index by word count.
        if (Count < maxWords) Add(word.substr(slash));
      }
      ++pos;
    }
  }

  void Add(std::string_view word) {
    if (Count < InlineWords) {
      Inline.Words[Count++] = word;
      return;
    }
    if (Count == InlineWords) More.assign(Inline.Words.begin(), Inline.Words.end());
    More.push_back(word);
    ++Count;
  }

  // The normalised copy, when one was needed: in place when it fits, as most values do.
  std::array<char, 64> InlineText;
  std::string Text;
  // The first words, in room left uninitialised: only the words added are ever read.
  static constexpr std::size_t InlineWords = 8;
  union WordRoom {
    WordRoom() {}  // NOLINT(modernize-use-equals-default): leaves the room uninitialised
    std::array<std::string_view, InlineWords> Words;
  } Inline;
  std::vector<std::string_view> More;  // all the words, once there are more than fit in place
  std::size_t Count = 0;
};

// A value with each url(...) and rgb(...) cut out, leftmost first and at most MaxFunctions
// of them, a space put in the place of each; the functions go to `take` in order, as views
// of the value. What is left is kept in place when it fits, as it does for most values.
class TValueWithoutFunctions {
 public:
  template <typename Take>
  TValueWithoutFunctions(std::string_view value, Take take) {
    auto next = [&value](std::size_t from) {
      return std::min(value.find("url(", from), value.find("rgb(", from));
    };
    std::size_t start = next(0);
    // Most values hold none, and are left as they are.
    Rest = value;
    if (start == std::string_view::npos) return;
    char* out = InlineText.data();
    if (value.size() > InlineText.size()) {
      Text.resize(value.size());
      out = Text.data();
    }
    std::size_t length = 0, pos = 0;
    auto keep = [&](std::string_view part) {
      std::copy(part.begin(), part.end(), out + length);
      length += part.size();
    };
    for (std::size_t count = 0; count < MaxFunctions && start != std::string_view::npos; ++count) {
      const std::size_t close = value.find(')', start);
      const std::size_t end = close == std::string_view::npos ? value.size() : close + 1;
      keep(value.substr(pos, start - pos));
      out[length++] = ' ';
      take(value.substr(start, end - start));
      pos = end;
      start = next(pos);
    }
    keep(value.substr(pos));
    Rest = std::string_view(out, length);
  }
  TValueWithoutFunctions(const TValueWithoutFunctions&) = delete;
  TValueWithoutFunctions& operator=(const TValueWithoutFunctions&) = delete;

  std::string_view Rest;

 private:
  std::array<char, 96> InlineText;
  std::string Text;
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

using SideSlots = std::array<PropIndex, 4>;  // top, right, bottom, left
constexpr SideSlots MarginSlots = {piMarginTop, piMarginRight, piMarginBottom, piMarginLeft};
constexpr SideSlots PaddingSlots = {piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft};
constexpr SideSlots BorderWidthSlots = {piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth,
                                        piBorderLeftWidth};

void ExpandSides(const SideSlots& slots, std::string_view value, const TLonghandSink& sink) {
  const TWords split(value, FourSides);
  const auto words = split.Items();
  if (words.empty()) return;
  // top, right, bottom, left from the words given: 1 → all; 2 → vertical, horizontal;
  // 3 → top, horizontal, bottom.
  static constexpr std::array<std::array<int, 4>, 4> pick = {
      {{0, 0, 0, 0}, {0, 1, 0, 1}, {0, 1, 2, 1}, {0, 1, 2, 3}}};
  const auto& chosen = pick[words.size() - 1];
  for (std::size_t side = 0; side < FourSides; ++side) sink(slots[side], words[chosen[side]]);
}

bool IsBorderStyleWord(std::string_view word) {
  static constexpr std::array<std::string_view, 9> styles = {"none",   "solid",  "dashed",
                                                             "dotted", "double", "groove",
                                                             "inset",  "outset", "ridge"};
  return std::find(styles.begin(), styles.end(), word) != styles.end();
}

// The style and width slots a border shorthand sets for its style and width words; the
// widths of "border" itself go to all four sides.
struct TBorderSlots {
  std::string_view Shorthand;
  std::optional<PropIndex> Style, Width;
};
constexpr std::array<TBorderSlots, 5> BorderSlots = {{
    {"border", piBorderStyle, std::nullopt},
    {"border-top", piBorderTopStyle, piBorderTopWidth},
    {"border-right", piBorderRightStyle, piBorderRightWidth},
    {"border-bottom", piBorderBottomStyle, piBorderBottomWidth},
    {"border-left", piBorderLeftStyle, piBorderLeftWidth},
}};

TBorderSlots BorderSlotsOf(std::string_view name) {
  for (const TBorderSlots& slots : BorderSlots) {
    if (slots.Shorthand == name) return slots;
  }
  // A name outside the table: its longhands are spelled out.
  return {name, PropertyIndexOf(std::string(name) + "-style"),
          PropertyIndexOf(std::string(name) + "-width")};
}

void ExpandBorder(std::string_view name, std::string_view value, const TLonghandSink& sink) {
  const TValueWithoutFunctions cut(value, [&sink](std::string_view function) {
    if (IsColorWord(function)) sink(piBorderColor, function);
  });
  const TBorderSlots slots = BorderSlotsOf(name);
  const TWords split(cut.Rest, AllWords);
  for (const std::string_view word : split.Items()) {
    if (IsColorWord(word)) {
      sink(piBorderColor, word);
    } else if (IsBorderStyleWord(word)) {
      if (slots.Style) sink(*slots.Style, word);
    } else if (name == "border") {
      ExpandSides(BorderWidthSlots, word, sink);
    } else if (slots.Width) {
      sink(*slots.Width, word);
    }
  }
}

void ExpandFont(std::string_view value, const TLonghandSink& sink) {
  static constexpr std::array<std::string_view, 9> sizeWords = {"larger",  "smaller", "xx-small",
                                                                "x-small", "small",   "medium",
                                                                "large",   "x-large", "xx-large"};
  const TWords split(value, FontWords);
  for (const std::string_view word : split.Items()) {
    if (word.starts_with('/')) {
      sink(piLineHeight, word.substr(1));
    } else if (word == "italic" || word == "oblique") {
      sink(piFontStyle, word);
    } else if (word == "normal" || word == "bolder" || word == "lighter" || word == "bold") {
      sink(piFontWeight, word);
    } else if (word == "small-caps") {
      // font-variant is not part of the style model.
    } else if ((!word.empty() && IsAsciiDigit(word.front())) ||
               std::find(sizeWords.begin(), sizeWords.end(), word) != sizeWords.end()) {
      sink(piFontSize, word);
    } else {
      sink(piFontFamily, word);
    }
  }
}

void ExpandBackground(std::string_view value, const TLonghandSink& sink, const TUrlFixer& fixUrl) {
  const TValueWithoutFunctions cut(value, [&](std::string_view function) {
    if (function.starts_with("rgb(")) sink(piBackgroundColor, function);
    else sink(piBackgroundImage, Fixed(function, fixUrl));
  });
  const TWords split(cut.Rest, AllWords);
  // The last two words that are neither colour, image nor repeat give the position.
  std::string_view remaining[2];
  std::size_t remainingCount = 0;
  for (const std::string_view word : split.Items()) {
    if (IsColorWord(word)) sink(piBackgroundColor, word);
    else if (word == "none") sink(piBackgroundImage, word);
    else if (word.find("repeat") != std::string_view::npos) sink(piBackgroundRepeat, word);
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
  sink(piBackgroundPosition, position);
}

void ExpandListStyle(std::string_view value, const TLonghandSink& sink, const TUrlFixer& fixUrl) {
  const TWords split(value, ListStyleWords);
  for (const std::string_view word : split.Items()) {
    if (word.find("url(") != std::string_view::npos) sink(piListStyleImage, Fixed(word, fixUrl));
    else sink(piListStyleType, word);
  }
}

}  // namespace

std::vector<std::string> SplitValueWords(std::string_view value, std::size_t maxWords) {
  const TWords split(value, maxWords);
  const auto words = split.Items();
  return {words.begin(), words.end()};
}

std::vector<std::string> TakeOutFunctions(std::string& value) {
  std::vector<std::string> functions;
  const TValueWithoutFunctions cut(value, [&functions](std::string_view function) {
    functions.emplace_back(function);
  });
  value = cut.Rest;
  return functions;
}

bool IsShorthand(std::string_view name) {
  static constexpr std::array<std::string_view, 10> names = {"margin",        "padding",
                                                             "border-width",  "border",
                                                             "border-top",    "border-right",
                                                             "border-bottom", "border-left",
                                                             "font",          "background"};
  return std::find(names.begin(), names.end(), name) != names.end() || name == "list-style";
}

void ExpandShorthand(std::string_view name, std::string_view value, const TLonghandSink& sink,
                     const TUrlFixer& fixUrl) {
  if (name == "margin") ExpandSides(MarginSlots, value, sink);
  else if (name == "padding") ExpandSides(PaddingSlots, value, sink);
  else if (name == "border-width") ExpandSides(BorderWidthSlots, value, sink);
  else if (name == "font") ExpandFont(value, sink);
  else if (name == "background") ExpandBackground(value, sink, fixUrl);
  else if (name == "list-style") ExpandListStyle(value, sink, fixUrl);
  else if (name.starts_with("border")) ExpandBorder(name, value, sink);
}

}  // namespace tessival::html
