#pragma once
// The working state of one document read by the tag reader, shared by its source files
// (structure readers, inline reader, head elements). Not for use outside the reader.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "html/html_tokenizer.h"
#include "html/symbols.h"
#include "html/url_target.h"
#include "layout/text_section.h"
#include "reader/font_size_tables.h"
#include "reader/prop_stack.h"
#include "reader/tag_reader.h"

namespace tessival::layout {

class TBlock;
class TCellBasic;
class ThtmlForm;
class TListBoxFormControlObj;

using html::Symbol;
using html::SymbolSet;

SymbolSet MakeSet(std::initializer_list<Symbol> symbols);
// The font-change elements and their end tags; what the body hands to the inline reader.
const SymbolSet& FontChangeSymbolSet();
const SymbolSet& BodyInlineSymbolSet();
// ALIGN of P, H, DIV, TD, TH and TR as the element's text-align.
void SetTextAlign(html::TProperties& props, std::string_view align);

// Counts one level of nested structure for as long as it lives.
class TNestingGuard {
 public:
  explicit TNestingGuard(int& nesting) : nesting_(nesting) { ++nesting_; }
  ~TNestingGuard() { --nesting_; }
  TNestingGuard(const TNestingGuard&) = delete;
  TNestingGuard& operator=(const TNestingGuard&) = delete;

 private:
  int& nesting_;
};

class TTagReader;

// An element a structure reader opens and closes again. It remembers how deep the stack
// stood before the element was pushed, so closing pops the element together with whatever
// its content left open. Left by an exception, the scope leaves the stack alone: the
// reader's Finish closes the open section against it and then clears it whole.
class TElementScope {
 public:
  // Pushes `name` with the current tag's class, id and style.
  TElementScope(TTagReader& reader, std::string_view name);
  // Pushes `name` with a tag read earlier.
  TElementScope(TTagReader& reader, std::string_view name, const TElementInfo& info);
  TElementScope(const TElementScope&) = delete;
  TElementScope& operator=(const TElementScope&) = delete;

  html::TProperties& Props() { return props_; }
  // The stack's depth before the element: what the element's content added lies above it.
  std::size_t Depth() const { return depth_; }
  // Pops back to the depth before the element and tells the current section the font.
  void Close();
  // Pops back without a word to the section (it is closed right after).
  void PopOnly();

 private:
  TTagReader& reader_;
  std::size_t depth_;
  html::TProperties& props_;
};

class TTagReader {
  friend class TElementScope;
  friend class TTableReader;

 public:
  TTagReader(TSectionList& document, const TReaderSettings& settings, const TReaderHandlers& handlers);

  TDocumentHead ReadDocument(std::string_view text);
  void ReadTextDocument(std::string_view text);

 private:
  // --- set-up and the current section (tag_reader.cpp)
  void Start(std::string_view text);
  void Finish();
  Symbol Sy() const { return Tok.Sy(); }
  void Next() { Tok.ReadToken(); }
  html::TAttributeList& Attrs() { return Tok.Attributes(); }
  std::string AttrText(Symbol symbol) const;
  bool HasAttr(Symbol symbol) const { return Tok.Attributes().Find(symbol) != nullptr; }
  TElementInfo InfoFromTag(std::string_view pseudo = {});
  html::TProperties& Push(std::string_view name, std::string_view pseudo = {});
  html::TProperties& PushInline(std::string_view name, std::string_view pseudo = {});
  void Pop(std::string_view name);
  void FontChanged();
  void OpenSection(const html::TAttributeList* attributes = nullptr);
  TSection& CurrentSection();
  void CloseSection();
  BreakRule TextBreakRule() const { return NoBreak ? BreakRule::NoBreak : BreakRule::Allowed; }
  // A block in the current cell that becomes the current cell; returns the cell to go
  // back to.
  TCellBasic* EnterBlock();
  void LeaveBlock(TCellBasic* outer);

  // --- structure readers (tag_reader.cpp)
  void ParseBody(const SymbolSet& termSet);
  void ParseBodyTag();
  void ParseParagraph(const SymbolSet& termSet);
  void ParseHeading();
  void ParseCenter(const SymbolSet& termSet);
  void ParseDiv(const SymbolSet& termSet);
  // Lists, tables, rules, preformatted text, forms and quotations are built by later parts
  // of the reader; until then their tags are passed over, but the text they enclose is kept
  // apart: it starts on a new line, and table cells stay one space apart.
  void SeparateSkipped(Symbol sy);

  // --- blocks (tag_reader_blocks.cpp)
  // Structures nested deeper than this are read as if their tags were not there, so that
  // neither reading nor laying out, painting or freeing the tree recurses without bound.
  static constexpr int kMaxNesting = 1500;
  bool TooDeep() const;
  TCellBasic* EnterNewBlock(std::unique_ptr<TBlock> block);
  void ParseList(Symbol kind, const SymbolSet& termSet);
  void ReadListContent(Symbol kind, const SymbolSet& termSet, int number, bool plain, char numbering);
  void ParseListItem(int kind, int number, const SymbolSet& termSet, bool plain, char numbering);
  void ParseBlockContainer(Symbol sy, const SymbolSet& termSet);
  void ParseRule();
  void AddPage();
  void OpenPreLine();
  void AppendPreText(const html::TokenObj& tokens, bool& skipLineEnd);
  void ParsePreformatted();

  // --- tables (tag_reader_tables.cpp)
  // Tables nested deeper than this are read as if their TABLE tag were not there.
  static constexpr int kMaxTableDepth = 10;
  void ParseTable();
  void EndPendingLink();

  // --- running text (tag_reader_inline.cpp)
  void ParseInline();
  void ParseBreak();
  void ApplyFontTag(Symbol symbol, TTextKind kind);
  void StartAnchor();
  void EndAnchor();

  // --- forms (tag_reader_forms.cpp)
  void ParseForm(const SymbolSet& termSet);
  // The form new controls join; one without attributes is made when none is open.
  ThtmlForm& CurrentForm();
  void ParseFormControl();
  void ParseOptions(TListBoxFormControlObj& control);
  void ParseTextArea();

  // --- pictures and maps (tag_reader_images.cpp)
  void ParseImage();
  void ParsePanel();
  void ParseMap();

  // --- head elements and skipped content (tag_reader_head.cpp)
  void ParseTitle();
  void ParseBase();
  void ParseMeta();
  void ParseLinkTag();
  void ParseBgSound();
  void ParseStyle();
  void ParseScript();
  void ReadStyleSheetText(std::string_view text, std::string_view base);
  void ConvertEucJp();

  TSectionList& Doc;
  const TReaderSettings& Settings;
  const TReaderHandlers& Handlers;
  html::THtmlTokenizer Tok;
  TPropStack Stack;
  TFontSizeTables Sizes;

  std::string Text;  // the document as read (converted when it came in a Japanese encoding)
  std::unique_ptr<TSection> Section;
  TCellBasic* Cell = nullptr;
  TBlock* Body = nullptr;
  html::TUrlTarget UrlTarget;
  ThtmlForm* Form = nullptr;  // the open FORM, not owned
  bool InLink = false;
  bool NoBreak = false;
  int BaseFontSize = DefaultBaseFontSize;
  TVShift VShift = TVShift::vsNone;
  bool ConvertedToShiftJis = false;
  int ListLevel = 0;  // nesting of bulleted and numbered lists
  int Nesting = 0;    // open structures that recurse
  int TableDepth = 0;
  TDocumentHead Head;
};

}  // namespace tessival::layout
