#include "html/html_tokenizer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "html/ascii_text.h"
#include "html/entities.h"
#include "html/id_name_list.h"

namespace tessival::html {
namespace {

constexpr char CR = '\r';
constexpr char LF = '\n';
constexpr std::ptrdiff_t ProgressStep = 4096;

constexpr std::array<char, 256> MakeUpperTable() {
  std::array<char, 256> table{};
  for (int i = 0; i < 256; ++i) {
    table[i] = static_cast<char>(i >= 'a' && i <= 'z' ? i - 'a' + 'A' : i);
  }
  return table;
}
constexpr std::array<char, 256> kUpper = MakeUpperTable();

// Bytes the character reader delivers as they are, with nothing to fold or look at.
constexpr std::array<bool, 256> MakePlainTable() {
  std::array<bool, 256> table{};
  for (int i = 0; i < 256; ++i) table[i] = true;
  for (char c : {CR, LF, '\t', '<', EofChar}) table[static_cast<unsigned char>(c)] = false;
  return table;
}
constexpr std::array<bool, 256> kPlainByte = MakePlainTable();

using ascii::Byte;
using ascii::TrimControls;
bool IsUpperLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlnum(char c) { return IsDigit(c) || IsUpperLetter(kUpper[Byte(c)]); }
bool IsWordChar(char upper) { return IsUpperLetter(upper) || IsDigit(upper) || upper == '_'; }
bool IsWhite(char c) { return c == ' ' || c == CR; }

int DigitValue(char c, bool hex) {
  if (IsDigit(c)) return c - '0';
  if (!hex) return -1;
  const char upper = kUpper[Byte(c)];
  return upper >= 'A' && upper <= 'F' ? upper - 'A' + 10 : -1;
}

// A text run stops before every control character except CR; the end-of-text character
// is one of them, so a run also stops there.
bool EndsTextRun(char c) { return c == '<' || c == '&' || (Byte(c) < 32 && c != CR); }

// A byte a text run takes as it is: plain for the character reader, ending no run, and
// (outside preformatted text) no space to collapse.
// One table for text outside preformatted text ([0]) and one for inside it ([1]), so the
// loop over a run's bytes makes one lookup per byte.
constexpr std::array<std::array<bool, 256>, 2> MakeOrdinaryTables() {
  std::array<std::array<bool, 256>, 2> tables{};
  for (int pre = 0; pre < 2; ++pre) {
    for (int i = 0; i < 256; ++i) {
      const bool ends_run = i == '<' || i == '&' || (i < 32 && i != CR);
      tables[pre][i] = kPlainByte[i] && !ends_run && (pre == 1 || i != ' ');
    }
  }
  return tables;
}
constexpr std::array<std::array<bool, 256>, 2> kOrdinaryByte = MakeOrdinaryTables();

// A decimal number ("12", "-3.5", "1e2") rounded to the nearest integer, halves to even;
// 0 when the text is not such a number. Values beyond 32 bits are held at the limits.
std::int32_t RoundedNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return 0;
  for (char c : text) {
    if (!IsDigit(c) && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E') return 0;
  }
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return 0;
  }
  const double rounded = std::nearbyint(value);
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  if (rounded >= kMax) return std::numeric_limits<std::int32_t>::max();
  if (rounded <= kMin) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(rounded);
}

// The bytes a numeric reference stands for. Codes 10 and 32 to 255 are taken as bytes of
// the page as they are (pages written for this code page use &#150; and the like). Other
// control codes give a space: the text model uses 2, 4, 5 and 8 as its own markers and a
// zero ends clipboard text, so a page must not be able to plant them.
std::string NumericEntityBytes(std::uint32_t code, int codePage) {
  if (code == 9) return " ";
  if (code == 10 || (code >= 32 && code <= 255)) return std::string(1, static_cast<char>(code));
  if (code < 32 && code != CR) return " ";
  return UnicodeToCodePage(code, codePage);
}

}  // namespace

// Most characters are plain document bytes: no line end to fold, no tab, no '<' that
// might open a comment, no progress report due. They take this short way; everything
// else goes through the full reader.
inline bool THtmlTokenizer::TakePlainByte() {
  if (ptr_ >= fast_limit_) return false;
  const char c = *ptr_;
  if (!kPlainByte[Byte(c)]) return false;
  pos_ = static_cast<std::int32_t>(ptr_ - start_);
  ++ptr_;
  last_line_end_ = 0;
  ch_ = c;
  upper_ch_ = kUpper[Byte(c)];
  ch_was_tab_ = false;
  return true;
}

// The short way stops before an included text, before the end, and before the byte whose
// reading is due to report progress.
void THtmlTokenizer::RefreshFastLimit() {
  if (in_include_) {
    fast_limit_ = start_;
  } else if (on_progress_) {
    const std::ptrdiff_t due = ((ptr_ - start_) / ProgressStep + 1) * ProgressStep - 1;
    fast_limit_ = due < end_ - start_ ? start_ + due : end_;
  } else {
    fast_limit_ = end_;
  }
}

void THtmlTokenizer::ReadCharSlow() {
  for (;;) {
    ReadRawChar();
    if (ch_ != '<' || script_mode_ || PeekRaw() != '!') return;
    SkipCommentOrDeclaration();
  }
}

inline void THtmlTokenizer::Advance() {
  if (!TakePlainByte()) ReadCharSlow();
}

void THtmlTokenizer::ReadChar() { Advance(); }

void THtmlTokenizer::Reset(std::string_view document) {
  start_ = document.data();
  ptr_ = start_;
  end_ = start_ + document.size();
  include_.clear();
  include_next_ = 0;
  in_include_ = false;
  ch_ = upper_ch_ = EofChar;
  ch_was_tab_ = false;
  pos_ = 0;
  last_line_end_ = 0;
  sy_ = EofToken;
  heading_level_ = 0;
  tag_start_pos_ = 0;
  token_.Clear();
  attributes_.Clear();
  in_comment_ = pre_formatted_ = script_mode_ = text_area_mode_ = false;
  text_code_page_ = SystemCodePage;
  RefreshFastLimit();
}

void THtmlTokenizer::ContinueIn(std::string_view document) {
  // The current character was taken from the old text: it is taken again from the new one.
  const std::ptrdiff_t offset = std::min<std::ptrdiff_t>(pos_,
                                                         static_cast<std::ptrdiff_t>(document.size()));
  start_ = document.data();
  ptr_ = start_ + offset;
  end_ = start_ + document.size();
  last_line_end_ = 0;
  RefreshFastLimit();
  if (!in_include_) ReadRawChar();
}

char THtmlTokenizer::PeekRawChar() const {
  const int next = PeekRaw();
  return next < 0 ? EofChar : static_cast<char>(next);
}

// ---------------------------------------------------------------------------------------
// Character reader

void THtmlTokenizer::ReadRawChar() {
  for (;;) {
    char c;
    bool atEnd = false;
    bool was_tab = false;
    if (in_include_ && include_next_ < include_.size()) {
      c = include_[include_next_++];
      // Included text has no place in the document; it takes the position of the
      // directive's end.
      pos_ = static_cast<std::int32_t>(ptr_ > start_ ? ptr_ - start_ - 1 : 0);
    } else if (in_include_) {
      in_include_ = false;
      include_.clear();
      continue;
    } else if (ptr_ < end_) {
      pos_ = static_cast<std::int32_t>(ptr_ - start_);
      c = *ptr_++;
      if (on_progress_ && (ptr_ - start_) % ProgressStep == 0) ReportProgress();
    } else {
      pos_ = static_cast<std::int32_t>(end_ - start_);
      c = EofChar;
      atEnd = true;
      if (in_comment_) {
        // Reported once; a reader that goes on from here finds the end of the text.
        in_comment_ = false;
        ch_ = upper_ch_ = EofChar;
        ch_was_tab_ = false;
        throw EParseError("Open Comment at End of HTML File");
      }
    }
    if (c == LF) {
      if (last_line_end_ == CR) {
        last_line_end_ = 0;
        continue;
      }
      last_line_end_ = LF;
      c = CR;
    } else if (c == CR) {
      if (last_line_end_ == LF) {
        last_line_end_ = 0;
        continue;
      }
      last_line_end_ = CR;
    } else {
      last_line_end_ = 0;
      if (c == '\t') {
        c = ' ';
        was_tab = true;
      } else if (c == EofChar && !atEnd) {
        // A stray SUB byte inside the text would otherwise end the document early.
        c = ' ';
      }
    }
    ch_ = c;
    upper_ch_ = kUpper[Byte(c)];
    ch_was_tab_ = was_tab;
    RefreshFastLimit();
    return;
  }
}

int THtmlTokenizer::PeekRaw() const {
  if (in_include_ && include_next_ < include_.size()) return Byte(include_[include_next_]);
  return ptr_ < end_ ? Byte(*ptr_) : -1;
}

void THtmlTokenizer::ReportProgress() {
  const auto done = static_cast<long long>(ptr_ - start_);
  const auto total = static_cast<long long>(end_ - start_);
  on_progress_(1, static_cast<int>(progress_scale_ * done / total));
}

void THtmlTokenizer::SkipCommentOrDeclaration() {
  ReadRawChar();  // the '!'
  in_comment_ = true;
  ReadRawChar();
  if (ch_ == '-') {
    ReadRawChar();
    if (ch_ == '-') {
      ReadRawChar();
      if (on_include_ && ch_ == '#' && !in_include_) {
        ReadIncludeDirective();
      } else {
        SkipCommentBody();
        in_comment_ = false;
      }
      return;
    }
  }
  while (ch_ != '>') ReadRawChar();  // a declaration such as <!DOCTYPE ...>
  in_comment_ = false;
}

// From the character after "<!--" on: the comment ends at a '>' that follows two or more
// dashes and any spaces. The end of the text raises the open-comment error on the way.
void THtmlTokenizer::SkipCommentBody() {
  for (;;) {
    while (ch_ != '-') ReadRawChar();
    ReadRawChar();
    if (ch_ != '-') continue;
    while (ch_ == '-') ReadRawChar();
    while (IsWhite(ch_)) ReadRawChar();
    if (ch_ == '>') return;
  }
}

void THtmlTokenizer::SkipRawWhiteSpace() {
  while (IsWhite(ch_)) ReadRawChar();
}

std::string THtmlTokenizer::ReadDirectiveWord() {
  std::string word;
  while (IsWordChar(upper_ch_)) {
    word += ch_;
    ReadRawChar();
  }
  return word;
}

// A quoted value runs to its closing quote; an unquoted one stops at white space, '>' or
// the "--" that closes the comment, so that "file=a.htm-->" still ends the directive.
std::string THtmlTokenizer::ReadDirectiveValue() {
  std::string value;
  if (ch_ == '"' || ch_ == '\'') {
    const char quote = ch_;
    ReadRawChar();
    while (ch_ != quote) {
      value += ch_;
      ReadRawChar();
    }
    ReadRawChar();
    return value;
  }
  while (!IsWhite(ch_) && ch_ != '>' && !(ch_ == '-' && PeekRaw() == '-')) {
    value += ch_;
    ReadRawChar();
  }
  return value;
}

void THtmlTokenizer::ReadIncludeDirective() {
  ReadRawChar();  // past '#'
  const std::string command = ReadDirectiveWord();
  std::vector<std::string> params;
  for (;;) {
    SkipRawWhiteSpace();
    if (!IsWordChar(upper_ch_)) break;
    std::string line = ReadDirectiveWord();
    SkipRawWhiteSpace();
    line += '=';
    if (ch_ == '=') {
      ReadRawChar();
      SkipRawWhiteSpace();
      line += ReadDirectiveValue();
    }
    params.push_back(std::move(line));
  }
  SkipCommentBody();
  in_comment_ = false;
  std::string buffer;
  on_include_(command, params, buffer);
  if (!buffer.empty()) {
    include_ = std::move(buffer);
    include_next_ = 0;
    in_include_ = true;
    RefreshFastLimit();
  }
}

void THtmlTokenizer::SkipWhiteSpace() {
  while (IsWhite(ch_)) Advance();
}

// ---------------------------------------------------------------------------------------
// Token reader

void THtmlTokenizer::ReadToken() {
  token_.Clear();
  if (script_mode_) {
    ReadScriptToken();
  } else if (text_area_mode_) {
    ReadTextAreaToken();
  } else if (AtEof()) {
    sy_ = EofToken;
  } else if (ch_ == '<') {
    ReadTag();
  } else if (ch_ == '&') {
    ReadEntity(false);
  } else if (!EndsTextRun(ch_)) {
    ReadTextRun();
  } else {
    sy_ = OtherCharToken;
    token_.AddChar(ch_, pos_);
    Advance();
  }
}

void THtmlTokenizer::ReadTextRun() {
  sy_ = TextToken;
  while (token_.Count() < MaxTextRun && !EndsTextRun(ch_)) {
    if (!pre_formatted_ && IsWhite(ch_)) {
      token_.AddChar(' ', pos_);
      do Advance();
      while (IsWhite(ch_));
    } else {
      TakeOrdinaryRun(MaxTextRun - token_.Count());
    }
  }
}

// Only a character that came unchanged from the byte before the read pointer can be
// taken together with the bytes after it (a tab, a folded line end or a character of an
// included text cannot).
bool THtmlTokenizer::CameFromDocument() const {
  return !in_include_ && ptr_ > start_ && pos_ == ptr_ - 1 - start_ && ptr_[-1] == ch_;
}

// Included text keeps its tabs as the document's own text does, so a page reads the same
// whether a part of it comes through an include or not.
bool THtmlTokenizer::CameFromTab() const { return ch_was_tab_; }

// Appends to `out` the characters that `keep` accepts, from the current one on. Runs of
// plain document bytes are taken in one step.
template <typename Keep>
void THtmlTokenizer::AppendWhile(std::string& out, Keep keep) {
  while (!AtEof() && keep(ch_)) {
    if (CameFromDocument()) {
      const char* next = ptr_;
      while (next < fast_limit_ && kPlainByte[Byte(*next)] && keep(*next)) ++next;
      out.append(ptr_ - 1, next);
      if (next > ptr_) last_line_end_ = 0;
      ptr_ = next;
    } else {
      out += ch_;
    }
    Advance();
  }
}

// Appends the current character and the ordinary document bytes after it (at most `room`
// in all) in one step, then reads the character that follows them.
void THtmlTokenizer::TakeOrdinaryRun(int room) {
  const char* first = ptr_ - 1;
  if (!CameFromDocument()) {
    // Preformatted text lines its columns up by tab stops, so there the tab the character
    // reader turned into a space goes on as a tab.
    token_.AddChar(pre_formatted_ && CameFromTab() ? '\t' : ch_, pos_);
    Advance();
    return;
  }
  const char* stop = std::min(fast_limit_, first + room);
  const char* next = ptr_;
  const std::array<bool, 256>& ordinary = kOrdinaryByte[pre_formatted_ ? 1 : 0];
  while (next < stop && ordinary[Byte(*next)]) ++next;
  token_.AddRun(std::string_view(first, static_cast<std::size_t>(next - first)), pos_);
  if (next > ptr_) last_line_end_ = 0;  // a CR before the run pairs with no LF after it
  ptr_ = next;
  Advance();
}

void THtmlTokenizer::ReadTag() {
  tag_start_pos_ = pos_;
  Advance();
  const bool endTag = ch_ == '/';
  if (endTag) {
    Advance();
  } else if (!IsUpperLetter(upper_ch_)) {
    sy_ = TextToken;  // "a < b": the '<' is text, the next character ordinary input
    token_.AddChar('<', tag_start_pos_);
    return;
  }
  constexpr std::size_t kMaxName = 255;
  upper_name_.clear();
  AppendWhile(upper_name_, [](char c) { return IsUpperLetter(kUpper[Byte(c)]); });
  if (upper_name_.size() > kMaxName) upper_name_.resize(kMaxName);
  for (char& c : upper_name_) c = kUpper[Byte(c)];
  sy_ = endTag ? EndSymbolOf(upper_name_) : StartSymbolOf(upper_name_);
  SkipWhiteSpace();
  if (sy_ == HeadingSy || sy_ == HeadingEndSy) {
    heading_level_ = 0;
    if (ch_ >= '1' && ch_ <= '6') {
      heading_level_ = ch_ - '0';
      Advance();
    }
  }
  attributes_.Clear();
  while (ReadAttribute()) {
  }
  while (ch_ != '>' && !AtEof()) Advance();
  // The style-sheet reader starts on the '>' of a STYLE tag.
  if (ch_ == '>' && sy_ != StyleSy) Advance();
}

bool THtmlTokenizer::ReadAttribute() {
  SkipWhiteSpace();
  if (!IsUpperLetter(upper_ch_)) return false;
  name_.clear();
  AppendWhile(name_, [](char c) { return IsUpperLetter(kUpper[Byte(c)]) || c == '-'; });
  upper_name_.assign(name_);
  for (char& c : upper_name_) c = kUpper[Byte(c)];
  const Symbol symbol = AttributeSymbolOf(upper_name_);
  SkipWhiteSpace();
  std::string& value = value_;
  value.clear();
  std::int32_t number = 0;
  if (ch_ == '=') {
    Advance();
    SkipWhiteSpace();
    if (ch_ == '"' || ch_ == '\'') {
      ReadQuotedValue(value, number);
    } else if (ch_ == '+' || ch_ == '-' || IsDigit(ch_)) {
      ReadNumberValue(value, number);
    } else {
      ReadUnquotedValue(value);
    }
  } else if (symbol == BorderSy) {
    number = 1;  // a bare BORDER asks for a border
  }
  if (symbol == IDSy && !value.empty() && id_names_ != nullptr) {
    id_names_->AddChPosObject(value, pos_);
  }
  attributes_.Add(symbol, number, value, name_);
  return true;
}

void THtmlTokenizer::ReadQuotedValue(std::string& value, std::int32_t& number) {
  const char quote = ch_;
  Advance();
  while (ch_ != quote && !AtEof()) {
    if (ch_ == CR) {
      Advance();
    } else if (ch_ == '&') {
      value_entity_.Clear();
      ReadEntityInto(value_entity_, true);
      value += value_entity_.Text();
    } else {
      AppendWhile(value, [quote](char c) { return c != quote && c != CR && c != '&'; });
    }
  }
  if (ch_ == quote) Advance();
  std::string_view numeric = TrimControls(value);
  if (!numeric.empty() && numeric.back() == '%') numeric.remove_suffix(1);
  number = RoundedNumber(numeric);
}

// "10px" is collected whole (and converts to 0); "50%" keeps its sign and means 50.
void THtmlTokenizer::ReadNumberValue(std::string& value, std::int32_t& number) {
  value += ch_;
  Advance();
  AppendWhile(value, [](char c) { return !IsWhite(c) && c != '%' && c != '>'; });
  SkipWhiteSpace();
  number = RoundedNumber(value);
  if (ch_ == '%') {
    value += '%';
    Advance();
  }
}

void THtmlTokenizer::ReadUnquotedValue(std::string& value) {
  AppendWhile(value, [](char c) { return !IsWhite(c) && c != '>'; });
}

// ---------------------------------------------------------------------------------------
// Character references

void THtmlTokenizer::ReadEntity(bool inAttribute) {
  sy_ = TextToken;
  ReadEntityInto(token_, inAttribute);
}

// The characters read while a reference is examined are kept in `literal_` with their
// positions, so that one that fails is emitted exactly as written.
void THtmlTokenizer::ReadEntityInto(TokenObj& out, bool inAttribute) {
  literal_.Clear();
  const std::int32_t start = pos_;
  literal_.AddChar(ch_, pos_);  // '&'
  Advance();
  const int codePage = inAttribute ? SystemCodePage : text_code_page_;
  std::string bytes;
  const bool resolved = ch_ == '#' ? ReadNumericEntity(bytes, codePage)
                                   : ReadNamedEntity(bytes, codePage);
  if (!resolved) {
    out.AddToken(literal_);
    return;
  }
  if (inAttribute && bytes.front() == 5) bytes.front() = ' ';
  out.AddRun(bytes, start);
}

bool THtmlTokenizer::ReadNumericEntity(std::string& bytes, int codePage) {
  constexpr int kMaxDigits = 5;
  literal_.AddChar(ch_, pos_);  // '#'
  Advance();
  const bool hex = upper_ch_ == 'X';
  if (hex) {
    literal_.AddChar(ch_, pos_);
    Advance();
  }
  std::uint32_t code = 0;
  int digits = 0;
  for (int digit; (digit = DigitValue(ch_, hex)) >= 0;) {
    literal_.AddChar(ch_, pos_);
    Advance();
    if (++digits > kMaxDigits) return false;
    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
  }
  if (digits == 0) return false;
  if (ch_ == ';') Advance();
  bytes = NumericEntityBytes(code, codePage);
  return true;
}

bool THtmlTokenizer::ReadNamedEntity(std::string& bytes, int codePage) {
  std::string name;
  while (IsAlnum(ch_)) {
    literal_.AddChar(ch_, pos_);
    name += ch_;
    Advance();
    if (static_cast<int>(name.size()) > MaxEntityNameLength) return false;
  }
  if (name.empty()) return false;
  if (ch_ == ';') {
    literal_.AddChar(ch_, pos_);
    Advance();
  }
  if (name == "hellip") {
    bytes = "...";
    return true;
  }
  const auto code = NamedEntityCode(name);
  if (!code) return false;
  bytes = UnicodeToCodePage(*code, codePage);
  return true;
}

// ---------------------------------------------------------------------------------------
// Script and text-area modes

template <typename Keep>
void THtmlTokenizer::TakeWhile(Keep keep) {
  while (!AtEof() && keep()) {
    token_.AddChar(ch_, pos_);
    Advance();
  }
}

bool THtmlTokenizer::TokenEqualsUpper(std::string_view upper) const {
  const std::string& text = token_.Text();
  return std::equal(text.begin(), text.end(), upper.begin(), upper.end(),
                    [](char a, char b) { return kUpper[Byte(a)] == b; });
}

// Both modes give the end of the text and each line end as tokens of their own.
bool THtmlTokenizer::ReadEofOrLineEnd() {
  if (AtEof()) {
    sy_ = EofToken;
  } else if (ch_ == CR) {
    sy_ = EolToken;
    Advance();
  } else {
    return false;
  }
  return true;
}

// Comments stay in script text. A '<' collects up to seven '/' or letters and a '>', so
// that "</script>" (in any case, with spaces before the '>') closes the script.
void THtmlTokenizer::ReadScriptToken() {
  if (ReadEofOrLineEnd()) return;
  if (ch_ == '<') {
    token_.AddChar(ch_, pos_);
    Advance();
    int letters = 0;
    TakeWhile([&] { return (ch_ == '/' || IsUpperLetter(upper_ch_)) && letters++ < 7; });
    SkipWhiteSpace();
    if (ch_ == '>') {
      token_.AddChar(ch_, pos_);
      Advance();
    }
    sy_ = TokenEqualsUpper("</SCRIPT>") ? ScriptEndSy : UnknownTagToken;
  } else {
    sy_ = TextToken;
    TakeWhile([&] { return token_.Count() < MaxTextRun && ch_ != CR && ch_ != '<'; });
  }
}

void THtmlTokenizer::ReadTextAreaToken() {
  if (ReadEofOrLineEnd()) return;
  if (ch_ == '&') {
    ReadEntity(false);
  } else if (ch_ == '<') {
    TakeWhile([&] { return !IsWhite(ch_) && ch_ != '>'; });
    sy_ = TokenEqualsUpper("</TEXTAREA") ? TextAreaEndSy : TextToken;
  } else {
    sy_ = TextToken;
    TakeWhile([&] { return token_.Count() < MaxTextRun && ch_ != CR && ch_ != '&' && ch_ != '<'; });
  }
}

}  // namespace tessival::html
