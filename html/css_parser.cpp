#include "html/css_parser.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "html/color_parser.h"
#include "html/css_shorthands.h"
#include "html/properties.h"
#include "html/style_list.h"
#include "html/text_util.h"

namespace tessival::html {

namespace {

// Every control character reads as a space: line ends and tabs separate like spaces do.
constexpr char AsSpace(char c) { return c != EofChar && static_cast<unsigned char>(c) < ' ' ? ' ' : c; }

constexpr bool IsNameChar(char c) { return c == '-' || IsAsciiDigit(c) || IsAsciiLetter(c); }

constexpr bool IsValueChar(char c) {
  return c != ';' && c != '}' && c != '/' && c != '<' && c != EofChar;
}

constexpr bool IsSelectorChar(char c) {
  return c == ' ' || c == '#' || c == '-' || c == '.' || c == ':' || c == '_' || IsAsciiDigit(c) ||
         IsAsciiLetter(c);
}

// What may lie between two declarations of a block: anything up to the next name, the
// block's end or the end of input. "/" is left out so that a comment is still seen.
constexpr bool IsBetweenDeclarations(char c) {
  return !IsNameChar(c) && c != '}' && c != '<' && c != EofChar && c != '/';
}

// The classes above for every byte as the reader sees it (control characters as spaces):
// runs of a string source are scanned with one table look-up per character.
enum CharClass : std::uint8_t {
  ccName = 1,
  ccValue = 2,
  ccSelector = 4,
  ccSpace = 8,
  ccBetween = 16,
  ccChanged = 32,  // stored otherwise than it stands: a control character or a capital
};

constexpr std::array<std::uint8_t, 256> BuildCharClasses() {
  std::array<std::uint8_t, 256> classes{};
  for (int byte = 0; byte < 256; ++byte) {
    const char c = AsSpace(static_cast<char>(byte));
    std::uint8_t bits = 0;
    if (IsNameChar(c)) bits |= ccName;
    if (IsValueChar(c)) bits |= ccValue;
    if (IsSelectorChar(c)) bits |= ccSelector;
    if (c == ' ') bits |= ccSpace;
    if (IsBetweenDeclarations(c)) bits |= ccBetween;
    if (LowerAscii(c) != static_cast<char>(byte)) bits |= ccChanged;
    classes[byte] = bits;
  }
  return classes;
}

constexpr std::array<std::uint8_t, 256> CharClasses = BuildCharClasses();

// A run of characters of one class, and whether it is stored exactly as it stands.
struct TRun {
  std::size_t Length;
  bool Plain;
};

TRun RunByTable(std::string_view text, std::size_t from, std::uint8_t keep, bool plain) {
  std::size_t run = from;
  std::uint8_t seen = 0;
  for (; run < text.size(); ++run) {
    const std::uint8_t classes = CharClasses[static_cast<unsigned char>(text[run])];
    if (!(classes & keep)) break;
    seen |= classes;
  }
  return {run, plain && !(seen & ccChanged)};
}

// Values make up most of a sheet, and a value runs on to the first of five characters:
// sixteen bytes are compared at once where the processor allows.
TRun ValueRun(std::string_view text) {
  std::size_t run = 0;
#if defined(__SSE2__)
  const __m128i semicolon = _mm_set1_epi8(';'), brace = _mm_set1_epi8('}'), slash = _mm_set1_epi8('/');
  const __m128i less = _mm_set1_epi8('<'), eof = _mm_set1_epi8(EofChar);
  const __m128i space = _mm_set1_epi8(' '), minusOne = _mm_set1_epi8(-1);
  const __m128i beforeA = _mm_set1_epi8('A' - 1), afterZ = _mm_set1_epi8('Z' + 1);
  int changed = 0;
  for (; run + 16 <= text.size(); run += 16) {
    const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + run));
    const __m128i stops = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(chars, semicolon), _mm_cmpeq_epi8(chars, brace)),
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chars, slash), _mm_cmpeq_epi8(chars, less)),
                     _mm_cmpeq_epi8(chars, eof)));
    // Bytes 0 to 31 and "A" to "Z" (compared as signed, so bytes from 128 are neither).
    const __m128i control = _mm_and_si128(_mm_cmpgt_epi8(chars, minusOne), _mm_cmplt_epi8(chars, space));
    const __m128i capital = _mm_and_si128(_mm_cmpgt_epi8(chars, beforeA), _mm_cmplt_epi8(chars, afterZ));
    const int changes = _mm_movemask_epi8(_mm_or_si128(control, capital));
    if (const int mask = _mm_movemask_epi8(stops)) {
      const int at = __builtin_ctz(mask);
      changed |= changes & ((1 << at) - 1);
      return {run + static_cast<std::size_t>(at), changed == 0};
    }
    changed |= changes;
  }
  return RunByTable(text, run, ccValue, changed == 0);
#else
  return RunByTable(text, run, ccValue, true);
#endif
}

// Copies a run as it is stored: control characters as spaces, letters in lower case. No
// run holds the end-of-input mark, so the rule needs no exception for it.
void StoreRun(const char* from, std::size_t count, char* to) {
  for (std::size_t i = 0; i < count; ++i) {
    unsigned char c = static_cast<unsigned char>(from[i]);
    c = c < ' ' ? ' ' : c;
    c = static_cast<unsigned char>(c - 'A') < 26 ? static_cast<unsigned char>(c + 32) : c;
    to[i] = static_cast<char>(c);
  }
}

// Characters in order, comments already removed. A comment ends at "*/", and also at a "<"
// or the end of input so that an unterminated one stops at the STYLE element's end tag.
//
// Templated on the source so that a string source (a final class) is read without a
// virtual call per character.
template <typename Source>
class CommentlessReader {
 public:
  explicit CommentlessReader(Source& source) : Chars(source) {}

  void Push(char c) { Pending = c; }
  char Peek() { return Pending ? *Pending : Chars.PeekChar(); }

  // Appends to `out`, lower-cased, the characters that follow for as long as they belong to
  // `keep` (a CharClass; none of them admits "/", so that no comment is passed over): a
  // string source hands them over in one piece, any other source leaves them to Next.
  void TakeRun(std::string& out, std::uint8_t keep) {
    if constexpr (std::is_same_v<Source, TStringCharSource>) {
      if (Pending) return;
      const TRun run = Run(keep);
      const char* from = Chars.Rest().data();
      if (run.Plain) {
        out.append(from, run.Length);
      } else {
        const std::size_t start = out.size();
        out.resize(start + run.Length);
        StoreRun(from, run.Length, out.data() + start);
      }
      Chars.Skip(run.Length);
    }
  }

  // For a string source, `first` and the run of class `keep` that follows it as a view of
  // the source, consumed, when they stand there as they are stored: `first` must be the
  // character read last. Nothing, and nothing consumed, otherwise.
  std::optional<std::string_view> ViewRun(char first, std::uint8_t keep) {
    if constexpr (std::is_same_v<Source, TStringCharSource>) {
      if (Pending || Chars.Position() == 0 || Chars.Last(1).front() != first) return std::nullopt;
      const TRun run = Run(keep);
      if (!run.Plain) return std::nullopt;
      Chars.Skip(run.Length);
      return Chars.Last(run.Length + 1);
    } else {
      return std::nullopt;
    }
  }

  // The same without keeping the characters.
  void SkipRun(std::uint8_t keep) {
    if constexpr (std::is_same_v<Source, TStringCharSource>) {
      if (!Pending) Chars.Skip(Run(keep).Length);
    }
  }

  // Next and Run are asked for once per character or run: kept inline in every caller.
  [[gnu::always_inline]] char Next() {
    while (true) {
      const char c = Raw();
      if (c != '/') return c;
      const char after = Raw();
      if (after != '*') {
        Pending = after;
        return '/';
      }
      if (const auto stop = SkipComment()) return *stop;
    }
  }

 private:
  [[gnu::always_inline]] TRun Run(std::uint8_t keep) const {
    return keep == ccValue ? ValueRun(Chars.Rest()) : RunByTable(Chars.Rest(), 0, keep, true);
  }

  char Raw() {
    if (Pending) {
      const char c = *Pending;
      Pending.reset();
      return c;
    }
    return AsSpace(Chars.NextChar());
  }

  // Nothing when the comment closed; otherwise the "<" or end of input that cut it short.
  std::optional<char> SkipComment() {
    char previous = 0;
    while (true) {
      const char c = Raw();
      if (c == EofChar || c == '<') return c;
      if (previous == '*' && c == '/') return std::nullopt;
      previous = c;
    }
  }

  Source& Chars;
  std::optional<char> Pending;
};

template <typename Source>
class SheetReader {
 public:
  SheetReader(TStyleList& styles, Source& source, std::string_view base, const TCssUrlResolver* urls)
      : Styles(styles), Reader(source), Base(base), Urls(urls) {}

  char Read(char callerChar) {
    Ch = ' ';
    Reader.Push(AsSpace(callerChar));
    SkipPrologue();
    while (!AtStop()) {
      if (Ch == '@') SkipAtRule();
      else ReadRule();
      while (Ch == ' ' || Ch == '-' || Ch == '>') Advance();
    }
    return UpperAscii(Ch);
  }

 private:
  void Advance() { Ch = Reader.Next(); }
  bool AtStop() const { return Ch == EofChar || Ch == '<'; }
  bool AtBlockEnd() const { return Ch == '}' || AtStop(); }
  void SkipSpaces() {
    while (Ch == ' ') {
      Reader.SkipRun(ccSpace);
      Advance();
    }
  }

  // Passes over spaces and the "<!--" that old pages wrap a sheet in. A "<" counts only
  // when "!" follows: anything else is the end tag of an empty STYLE element.
  void SkipPrologue() {
    while (Ch == ' ' || Ch == '!' || Ch == '-' || Ch == '>' || (Ch == '<' && Reader.Peek() == '!')) {
      Advance();
    }
  }

  // "@import ...;" or "@media ... { ... }": read up to the first "}" (nested blocks are not
  // counted; what follows the inner block is read as ordinary, usually empty, rules).
  void SkipAtRule() {
    while (Ch != ';' && Ch != '{' && !AtStop()) Advance();
    if (Ch == '{') {
      while (!AtBlockEnd()) Advance();
      if (Ch == '}') Advance();
    } else if (Ch == ';') {
      Advance();
    }
  }

  void ReadRule() {
    ReadSelectorList();
    while (Ch != '{' && !AtStop()) Advance();
    if (Ch == '{') ReadDeclarationBlock();
  }

  // A selector with a character the style model cannot match ("*", ">", "+", "[" ...) is
  // dropped whole: keeping only the part before it would style the wrong elements.
  void ReadSelectorList() {
    Keys.clear();
    do {
      if (Ch == ',') Advance();
      SkipSpaces();
      std::string text;
      while (IsSelectorChar(Ch)) {
        text += LowerAscii(Ch);
        Reader.TakeRun(text, ccSelector);
        Advance();
      }
      const bool complete = Ch == ',' || Ch == '{' || AtStop();
      if (!complete) {
        while (Ch != ',' && Ch != '{' && !AtStop()) Advance();
      }
      const std::string_view selector = Trim(text);
      if (complete && !selector.empty()) Keys.push_back(Styles.KeyOf(selector));
    } while (Ch == ',');
  }

  // Each declaration is read, its name looked up once, and its longhands given to every
  // selector of the rule; the style list finds each selector's entry once per block.
  void ReadDeclarationBlock() {
    Advance();  // the "{"
    Rules.clear();
    for (const std::string& key : Keys) Rules.push_back({key});
    do {
      SkipSpaces();
      const std::string_view name = ReadText(Name, ccName, [this] { return IsNameChar(Ch); });
      SkipSpaces();
      if (Ch == ':') {
        Advance();
        const std::string_view value = ReadText(Value, ccValue,
                                                [this] { return Ch != ';' && !AtBlockEnd(); });
        Expand(name, StripQuotes(Trim(value)));
      }
      SkipSpaces();
      if (Ch == ';') Advance();
      while (!IsNameChar(Ch) && !AtBlockEnd()) {
        Reader.SkipRun(ccBetween);
        Advance();
      }
    } while (!AtBlockEnd());
    if (Ch == '}') Advance();
  }

  // The characters from the current one on for as long as `belongs` holds, lower-cased: as
  // a view of the source where it holds them so, else collected in `buffer`. The text is
  // valid until the next call with the same buffer.
  template <typename Belongs>
  std::string_view ReadText(std::string& buffer, std::uint8_t keep, Belongs belongs) {
    buffer.clear();
    if (!belongs()) return {};
    if (const auto run = Reader.ViewRun(LowerAscii(Ch), keep)) {
      Advance();
      // A comment can split a name or value: what follows it is collected with the rest.
      if (!belongs()) return *run;
      buffer.assign(*run);
    }
    while (belongs()) {
      buffer += LowerAscii(Ch);
      Reader.TakeRun(buffer, keep);
      Advance();
    }
    return buffer;
  }

  // Each longhand goes straight to the entries of the rule's selectors, found once per rule;
  // a colour is parsed once for all of them.
  void Collect(PropIndex index, std::string_view value) {
    const auto color = TStyleList::IsColorSlot(index) ? ColorFromString(value, false) : std::nullopt;
    const TDeclaredValue declared{index, value, color};
    for (TRuleEntry& rule : Rules) Styles.AddModifyValue(rule, declared);
  }

  void Expand(std::string_view name, std::string_view value) {
    if (name.empty()) return;
    const auto index = PropertyIndexOf(name);
    const bool fixUrls = !Base.empty() && Urls;
    if (index) {
      if (fixUrls && value.find("url(") != std::string_view::npos) {
        Collect(*index, MakeUrlAbsolute(value, Base, *Urls));
      } else {
        Collect(*index, value);
      }
    } else if (IsShorthand(name)) {
      auto add = [this](PropIndex longhand, std::string_view text) { Collect(longhand, text); };
      TUrlFixer fixUrl;
      if (fixUrls) fixUrl = [this](std::string_view text) { return MakeUrlAbsolute(text, Base, *Urls); };
      ExpandShorthand(name, value, add, fixUrl);
    }
  }

  TStyleList& Styles;
  CommentlessReader<Source> Reader;
  std::string_view Base;
  const TCssUrlResolver* Urls;
  std::vector<std::string> Keys;  // of the selectors of the rule being read
  std::vector<TRuleEntry> Rules;  // the entries of those selectors, for the block being read
  // Buffers kept from block to block so that reading does not allocate per declaration.
  std::string Name, Value;
  char Ch = ' ';
};

// A style attribute's text, lower-cased whole; no comments.
class AttributeReader {
 public:
  AttributeReader(std::string_view text, TProperties& props) : Text(ToLower(text)), Props(props) {}

  void Read() {
    Advance();
    while (Ch != EofChar) {
      SkipSpaces();
      std::string name;
      while (IsNameChar(Ch)) {
        name += Ch;
        Advance();
      }
      SkipSpaces();
      if (Ch == ':') {
        Advance();
        std::string value;
        while (Ch != ';' && Ch != EofChar) {
          value += Ch;
          Advance();
        }
        Apply(name, StripQuotes(Trim(value)));
      }
      SkipSpaces();
      if (Ch == ';') Advance();
      while (!IsNameChar(Ch) && Ch != EofChar) Advance();
    }
  }

 private:
  void Advance() { Ch = Pos < Text.size() ? AsSpace(Text[Pos++]) : EofChar; }
  void SkipSpaces() {
    while (Ch == ' ') Advance();
  }

  void Apply(std::string_view name, std::string_view value) {
    if (name.empty()) return;
    if (IsShorthand(name)) {
      auto set = [this](PropIndex longhand, std::string_view text) { Props.SetByIndex(longhand, text); };
      ExpandShorthand(name, value, set, {});
    } else {
      Props.SetByName(name, value);
    }
  }

  std::string Text;
  TProperties& Props;
  std::size_t Pos = 0;
  char Ch = ' ';
};

}  // namespace

void ParseStyleSheet(TStyleList& styles, char& currentChar, TCssCharSource& source,
                     std::string_view base, const TCssUrlResolver* urls) {
  if (auto* text = dynamic_cast<TStringCharSource*>(&source)) {
    currentChar = SheetReader<TStringCharSource>(styles, *text, base, urls).Read(currentChar);
  } else {
    currentChar = SheetReader<TCssCharSource>(styles, source, base, urls).Read(currentChar);
  }
}

void ParseStyleAttribute(std::string_view text, TProperties& props) {
  AttributeReader(text, props).Read();
}

}  // namespace tessival::html
