#include "html/html_tokenizer.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

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

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }
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

std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && Byte(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && Byte(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

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

void THtmlTokenizer::Reset(std::string_view document) {
  start_ = document.data();
  ptr_ = start_;
  end_ = start_ + document.size();
  include_.clear();
  include_next_ = 0;
  in_include_ = false;
  ch_ = upper_ch_ = EofChar;
  pos_ = 0;
  last_line_end_ = 0;
  sy_ = EofToken;
  heading_level_ = 0;
  tag_start_pos_ = 0;
  token_.Clear();
  attributes_.Clear();
  in_comment_ = pre_formatted_ = script_mode_ = text_area_mode_ = false;
  text_code_page_ = SystemCodePage;
}

// ---------------------------------------------------------------------------------------
// Character reader

void THtmlTokenizer::ReadRawChar() {
  for (;;) {
    char c;
    bool atEnd = false;
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
      if (in_comment_) throw EParseError("Open Comment at End of HTML File");
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
      } else if (c == EofChar && !atEnd) {
        // A stray SUB byte inside the text would otherwise end the document early.
        c = ' ';
      }
    }
    ch_ = c;
    upper_ch_ = kUpper[Byte(c)];
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

void THtmlTokenizer::ReadChar() {
  for (;;) {
    ReadRawChar();
    if (ch_ != '<' || script_mode_ || PeekRaw() != '!') return;
    SkipCommentOrDeclaration();
  }
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
  }
}

void THtmlTokenizer::SkipWhiteSpace() {
  while (IsWhite(ch_)) ReadChar();
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
    ReadChar();
  }
}

void THtmlTokenizer::ReadTextRun() {
  sy_ = TextToken;
  while (token_.Count() < MaxTextRun && !EndsTextRun(ch_)) {
    if (!pre_formatted_ && IsWhite(ch_)) {
      token_.AddChar(' ', pos_);
      do ReadChar();
      while (IsWhite(ch_));
    } else {
      token_.AddChar(ch_, pos_);
      ReadChar();
    }
  }
}

void THtmlTokenizer::ReadTag() {
  tag_start_pos_ = pos_;
  ReadChar();
  const bool endTag = ch_ == '/';
  if (endTag) {
    ReadChar();
  } else if (!IsUpperLetter(upper_ch_)) {
    sy_ = TextToken;  // "a < b": the '<' is text, the next character ordinary input
    token_.AddChar('<', tag_start_pos_);
    return;
  }
  constexpr std::size_t kMaxName = 255;
  upper_name_.clear();
  while (IsUpperLetter(upper_ch_)) {
    if (upper_name_.size() < kMaxName) upper_name_ += upper_ch_;
    ReadChar();
  }
  sy_ = endTag ? EndSymbolOf(upper_name_) : StartSymbolOf(upper_name_);
  SkipWhiteSpace();
  if (sy_ == HeadingSy || sy_ == HeadingEndSy) {
    heading_level_ = 0;
    if (ch_ >= '1' && ch_ <= '6') {
      heading_level_ = ch_ - '0';
      ReadChar();
    }
  }
  attributes_.Clear();
  while (ReadAttribute()) {
  }
  while (ch_ != '>' && !AtEof()) ReadChar();
  // The style-sheet reader starts on the '>' of a STYLE tag.
  if (ch_ == '>' && sy_ != StyleSy) ReadChar();
}

bool THtmlTokenizer::ReadAttribute() {
  SkipWhiteSpace();
  if (!IsUpperLetter(upper_ch_)) return false;
  name_.clear();
  upper_name_.clear();
  while (IsUpperLetter(upper_ch_) || ch_ == '-') {
    name_ += ch_;
    upper_name_ += upper_ch_;
    ReadChar();
  }
  const Symbol symbol = AttributeSymbolOf(upper_name_);
  SkipWhiteSpace();
  std::string value;
  std::int32_t number = 0;
  if (ch_ == '=') {
    ReadChar();
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
  attributes_.Add(symbol, number, std::move(value), name_);
  return true;
}

void THtmlTokenizer::ReadQuotedValue(std::string& value, std::int32_t& number) {
  const char quote = ch_;
  ReadChar();
  while (ch_ != quote && !AtEof()) {
    if (ch_ == CR) {
      ReadChar();
    } else if (ch_ == '&') {
      value_entity_.Clear();
      ReadEntityInto(value_entity_, true);
      value += value_entity_.Text();
    } else {
      value += ch_;
      ReadChar();
    }
  }
  if (ch_ == quote) ReadChar();
  std::string_view numeric = TrimControls(value);
  if (!numeric.empty() && numeric.back() == '%') numeric.remove_suffix(1);
  number = RoundedNumber(numeric);
}

// "10px" is collected whole (and converts to 0); "50%" keeps its sign and means 50.
void THtmlTokenizer::ReadNumberValue(std::string& value, std::int32_t& number) {
  value += ch_;
  ReadChar();
  while (!IsWhite(ch_) && ch_ != '%' && ch_ != '>' && !AtEof()) {
    value += ch_;
    ReadChar();
  }
  SkipWhiteSpace();
  number = RoundedNumber(value);
  if (ch_ == '%') {
    value += '%';
    ReadChar();
  }
}

void THtmlTokenizer::ReadUnquotedValue(std::string& value) {
  while (!IsWhite(ch_) && ch_ != '>' && !AtEof()) {
    value += ch_;
    ReadChar();
  }
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
  ReadChar();
  const int codePage = inAttribute ? SystemCodePage : text_code_page_;
  std::string bytes;
  const bool resolved = ch_ == '#' ? ReadNumericEntity(bytes, codePage)
                                   : ReadNamedEntity(bytes, codePage);
  if (!resolved) {
    out.AddToken(literal_);
    return;
  }
  if (inAttribute && bytes.front() == 5) bytes.front() = ' ';
  out.AddString(bytes, start);
}

bool THtmlTokenizer::ReadNumericEntity(std::string& bytes, int codePage) {
  constexpr int kMaxDigits = 5;
  literal_.AddChar(ch_, pos_);  // '#'
  ReadChar();
  const bool hex = upper_ch_ == 'X';
  if (hex) {
    literal_.AddChar(ch_, pos_);
    ReadChar();
  }
  std::uint32_t code = 0;
  int digits = 0;
  for (int digit; (digit = DigitValue(ch_, hex)) >= 0;) {
    literal_.AddChar(ch_, pos_);
    ReadChar();
    if (++digits > kMaxDigits) return false;
    code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
  }
  if (digits == 0) return false;
  if (ch_ == ';') ReadChar();
  bytes = NumericEntityBytes(code, codePage);
  return true;
}

bool THtmlTokenizer::ReadNamedEntity(std::string& bytes, int codePage) {
  std::string name;
  while (IsAlnum(ch_)) {
    literal_.AddChar(ch_, pos_);
    name += ch_;
    ReadChar();
    if (static_cast<int>(name.size()) > MaxEntityNameLength) return false;
  }
  if (name.empty()) return false;
  if (ch_ == ';') {
    literal_.AddChar(ch_, pos_);
    ReadChar();
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

// Comments stay in script text. A '<' collects up to seven '/' or letters and a '>', so
// that "</script>" (in any case, with spaces before the '>') closes the script.
void THtmlTokenizer::ReadScriptToken() {
  if (AtEof()) {
    sy_ = EofToken;
  } else if (ch_ == CR) {
    sy_ = EolToken;
    ReadChar();
  } else if (ch_ == '<') {
    token_.AddChar(ch_, pos_);
    ReadChar();
    for (int i = 0; i < 7 && (ch_ == '/' || IsUpperLetter(upper_ch_)); ++i) {
      token_.AddChar(ch_, pos_);
      ReadChar();
    }
    SkipWhiteSpace();
    if (ch_ == '>') {
      token_.AddChar(ch_, pos_);
      ReadChar();
    }
    const std::string& text = token_.Text();
    bool closes = text.size() == 9;
    for (std::size_t i = 0; closes && i < text.size(); ++i) {
      closes = kUpper[Byte(text[i])] == "</SCRIPT>"[i];
    }
    sy_ = closes ? ScriptEndSy : UnknownTagToken;
  } else {
    sy_ = TextToken;
    while (token_.Count() < MaxTextRun && ch_ != CR && ch_ != '<' && !AtEof()) {
      token_.AddChar(ch_, pos_);
      ReadChar();
    }
  }
}

void THtmlTokenizer::ReadTextAreaToken() {
  if (AtEof()) {
    sy_ = EofToken;
  } else if (ch_ == CR) {
    sy_ = EolToken;
    ReadChar();
  } else if (ch_ == '&') {
    ReadEntity(false);
  } else if (ch_ == '<') {
    while (!IsWhite(ch_) && ch_ != '>' && !AtEof()) {
      token_.AddChar(ch_, pos_);
      ReadChar();
    }
    const std::string& text = token_.Text();
    bool closes = text.size() == 10;
    for (std::size_t i = 0; closes && i < text.size(); ++i) {
      closes = kUpper[Byte(text[i])] == "</TEXTAREA"[i];
    }
    sy_ = closes ? TextAreaEndSy : TextToken;
  } else {
    sy_ = TextToken;
    while (token_.Count() < MaxTextRun && ch_ != CR && ch_ != '&' && ch_ != '<' && !AtEof()) {
      token_.AddChar(ch_, pos_);
      ReadChar();
    }
  }
}

}  // namespace tessival::html
