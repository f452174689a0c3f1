#pragma once
// The lexical layer of the HTML reader: one document held in memory, read one character
// at a time and turned into one current token at a time for the tag reader.
//
// Two layers: a character reader (line ends folded to CR, tabs to spaces, an upper-cased
// twin beside each character, comments and include directives removed) and the token
// reader `ReadToken`. The tag reader switches it into preformatted, script and text-area
// modes where those elements are read. One object holds the state of one document read.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "html/attribute_list.h"
#include "html/code_page.h"
#include "html/css_char_source.h"
#include "html/symbols.h"
#include "html/token_obj.h"

namespace tessival::html {

class TIDNameList;

// The end of the text inside the readers is EofChar (css_char_source.h), shared with the
// style-sheet reader, which reads a STYLE element from this tokenizer's characters.
// The longest text run a token carries.
constexpr int MaxTextRun = 100;

class EParseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Called for a comment that begins "<!--#" outside an included text: the directive's name,
// its parameters as "name=value" lines, and a buffer the handler may fill; a filled buffer
// is read next, before the rest of the document.
using TIncludeType = std::function<void(const std::string& command,
                                        const std::vector<std::string>& params, std::string& buffer)>;
// Reading progress: stage 1 and a value from 0 to the scale the host asked for.
using TProgressEvent = std::function<void(int stage, int value)>;

class THtmlTokenizer {
 public:
  THtmlTokenizer() = default;

  // Starts on a new document; every piece of reader state is reset. The text must stay
  // alive while it is read. The first character is read by the first ReadChar.
  void Reset(std::string_view document);

  void ReadRawChar();
  // The character the next ReadRawChar starts from, unfolded and not consumed; EofChar at
  // the end. For readers that take characters straight from the source (a STYLE sheet).
  char PeekRawChar() const;
  // Goes on reading in `document` at the same offset as in the text read so far: for a
  // text converted in place after part of it was read. The current character is read again
  // from the new text.
  void ContinueIn(std::string_view document);
  void ReadChar();
  void ReadToken();
  void SkipWhiteSpace();
  // Reads the reference at the current `&` and appends its text to the token.
  void ReadEntity(bool inAttribute);

  char Ch() const { return ch_; }
  // The current character is a space read from a tab (the raw reader folds tabs).
  bool CameFromTab() const;
  char UpperCh() const { return upper_ch_; }
  bool AtEof() const { return ch_ == EofChar; }
  std::int32_t Pos() const { return pos_; }  // source position of the current character
  Symbol Sy() const { return sy_; }
  int HeadingLevel() const { return heading_level_; }
  std::int32_t TagStartPos() const { return tag_start_pos_; }
  TokenObj& Token() { return token_; }
  const TokenObj& Token() const { return token_; }
  TAttributeList& Attributes() { return attributes_; }
  const TAttributeList& Attributes() const { return attributes_; }

  void SetPreFormatted(bool on) { pre_formatted_ = on; }
  void SetScriptMode(bool on) { script_mode_ = on; }
  void SetTextAreaMode(bool on) { text_area_mode_ = on; }
  bool PreFormatted() const { return pre_formatted_; }
  bool ScriptMode() const { return script_mode_; }
  bool TextAreaMode() const { return text_area_mode_; }

  // The code page of the current element's character set, for references in text.
  // Attribute values always use the system code page.
  void SetTextCodePage(int codePage) { text_code_page_ = codePage; }
  // Where ID attributes are registered; none while no document is being built.
  void SetIDNameList(TIDNameList* list) { id_names_ = list; }
  void SetOnInclude(TIncludeType handler) { on_include_ = std::move(handler); }
  void SetOnProgress(TProgressEvent handler, int scale) {
    on_progress_ = std::move(handler);
    progress_scale_ = scale;
    RefreshFastLimit();
  }

 private:
  bool TakePlainByte();
  void RefreshFastLimit();
  void Advance();
  void ReadCharSlow();
  int PeekRaw() const;
  void ReportProgress();
  void SkipCommentOrDeclaration();
  void SkipCommentBody();
  void ReadIncludeDirective();
  std::string ReadDirectiveWord();
  std::string ReadDirectiveValue();
  void SkipRawWhiteSpace();

  void ReadTag();
  bool ReadAttribute();
  void ReadQuotedValue(std::string& value, std::int32_t& number);
  void ReadNumberValue(std::string& value, std::int32_t& number);
  void ReadUnquotedValue(std::string& value);
  void ReadTextRun();
  bool CameFromDocument() const;
  template <typename Keep>
  void AppendWhile(std::string& out, Keep keep);
  void TakeOrdinaryRun(int room);
  void ReadEntityInto(TokenObj& out, bool inAttribute);
  bool ReadNumericEntity(std::string& bytes, int codePage);
  bool ReadNamedEntity(std::string& bytes, int codePage);
  template <typename Keep>
  void TakeWhile(Keep keep);
  bool TokenEqualsUpper(std::string_view upper) const;
  bool ReadEofOrLineEnd();
  void ReadScriptToken();
  void ReadTextAreaToken();

  // Source.
  const char* start_ = nullptr;
  const char* ptr_ = nullptr;
  const char* end_ = nullptr;
  const char* fast_limit_ = nullptr;  // where the short way of reading stops
  std::string include_;
  std::size_t include_next_ = 0;
  bool in_include_ = false;

  // Current character.
  char ch_ = EofChar;
  bool ch_was_tab_ = false;  // ch_ is a space the character reader made of a tab
  char upper_ch_ = EofChar;
  std::int32_t pos_ = 0;
  char last_line_end_ = 0;  // the raw CR or LF just read, 0 after anything else

  // Current token.
  Symbol sy_ = EofToken;
  int heading_level_ = 0;
  std::int32_t tag_start_pos_ = 0;
  TokenObj token_;
  TAttributeList attributes_;

  // Modes.
  bool in_comment_ = false;
  bool pre_formatted_ = false;
  bool script_mode_ = false;
  bool text_area_mode_ = false;
  int text_code_page_ = SystemCodePage;

  // Host.
  TIDNameList* id_names_ = nullptr;
  TIncludeType on_include_;
  TProgressEvent on_progress_;
  int progress_scale_ = 0;

  // Scratch buffers reused from token to token.
  TokenObj literal_;
  TokenObj value_entity_;
  std::string name_;
  std::string upper_name_;
  std::string value_;
};

}  // namespace tessival::html
