// The block readers: lists and their items, quotations and addresses, rules,
// preformatted text and page breaks.
#include "html/text_util.h"
#include "layout/block_li.h"
#include "layout/horz_line.h"
#include "layout/preformatted.h"
#include "layout/section_list.h"
#include "reader/tag_reader_state.h"

namespace tessival::layout {

using namespace html;

namespace {

bool IsListStart(Symbol sy) {
  return sy == OLSy || sy == ULSy || sy == DirSy || sy == MenuSy || sy == DLSy;
}

// The lists whose items carry bullets or numbers (a DL's items carry none).
bool IsMarkedList(Symbol sy) { return sy == OLSy || sy == ULSy || sy == DirSy || sy == MenuSy; }

Symbol EndTagOf(Symbol sy) {
  switch (sy) {
    case OLSy: return OLEndSy;
    case ULSy: return ULEndSy;
    case DirSy: return DirEndSy;
    case MenuSy: return MenuEndSy;
    case DLSy: return DLEndSy;
    case AddressSy: return AddressEndSy;
    case BlockQuoteSy: return BlockQuoteEndSy;
    default: return EofToken;
  }
}

int ListKindOf(Symbol sy) {
  switch (sy) {
    case OLSy: return lkOrdered;
    case ULSy:
    case DirSy:
    case MenuSy: return lkUnordered;
    case DLSy: return lkDefinition;
    default: return lkNoList;
  }
}

// A list that ends right after it starts.
const SymbolSet& ListEndSymbols() {
  static const SymbolSet set = MakeSet(
      {OLEndSy, ULEndSy, DirEndSy, MenuEndSy, DLEndSy, BlockQuoteEndSy});
  return set;
}

// What a list item hands to the inline reader: running text and the objects in it, but
// not the headings, rules and preformatted text that end it.
bool ItemInlineSymbol(Symbol sy, const SymbolSet& bodyInline) {
  return bodyInline[sy] && sy != HeadingSy && sy != HeadingEndSy && sy != HRSy && sy != PreSy;
}

}  // namespace

bool TTagReader::TooDeep() const { return Nesting >= kMaxNesting; }

TCellBasic* TTagReader::EnterNewBlock(std::unique_ptr<TBlock> block) {
  TBlock* made = block.get();
  Cell->AddSection(std::move(block));
  TCellBasic* outer = Cell;
  Cell = made->ContentCell.get();
  return outer;
}

void TTagReader::ParseList(Symbol kind, const SymbolSet& termSet) {
  if (TooDeep()) {
    Next();
    return;
  }
  const TNestingGuard guard(Nesting);
  int number = 1;
  char numbering = '1';
  bool plain = false;
  if (kind == OLSy) {
    if (const TAttribute* start = Attrs().Find(StartSy); start && start->NumValue >= 0)
      number = start->NumValue;
    if (const TAttribute* type = Attrs().Find(TypeSy); type && !type->StrValue.empty())
      numbering = type->StrValue.front();
  } else if (kind == ULSy) {
    const std::string type = ToLower(AttrText(TypeSy));
    plain = HasAttr(PlainSy) || type == "none" || type == "plain";
  }
  CloseSection();
  TElementScope element(*this, StartTagName(kind));
  FontChanged();
  auto block = std::make_unique<TBlock>(Cell, Stack.Last(), &Attrs());
  block->IsListContainer = IsMarkedList(kind);
  TBlock* list = block.get();
  TCellBasic* outer = EnterNewBlock(std::move(block));
  Next();
  if (!ListEndSymbols()[Sy()]) ReadListContent(kind, termSet, number, plain, numbering);
  CloseSection();
  if (Cell->Empty()) {
    // A list without items keeps a gap where it stands.
    list->MarginBottom = 14;
    list->EmptyListCell = true;
  }
  LeaveBlock(outer);
  element.Close();
}

void TTagReader::ReadListContent(Symbol kind, const SymbolSet& termSet, int number, bool plain,
                                 char numbering) {
  const bool marked = IsMarkedList(kind);
  if (marked) ++ListLevel;
  const Symbol endTag = EndTagOf(kind);
  static const SymbolSet nestedEnds = MakeSet(
      {OLEndSy, LISy, ULEndSy, DirEndSy, MenuEndSy, DLEndSy, DDSy, DTSy, BlockQuoteEndSy, EofToken});
  while (Sy() != endTag && Sy() != EofToken && !termSet[Sy()]) {
    const Symbol sy = Sy();
    if (sy == PSy) {
      ParseParagraph(termSet);
    } else if (IsListStart(sy)) {
      ParseList(sy, termSet);
      if (Sy() == EndTagOf(sy)) Next();
    } else if (sy == LISy || sy == DDSy || sy == DTSy) {
      if (sy == LISy) {
        // VALUE renumbers this item and those after it.
        if (const TAttribute* value = Attrs().Find(ValueSy); value && value->NumValue >= 0)
          number = value->NumValue;
      }
      ParseListItem(ListKindOf(kind), number, termSet, plain, numbering);
      ++number;
    } else if (sy == AddressSy || sy == BlockQuoteSy) {
      ParseBlockContainer(sy, termSet);
    } else if (sy == CenterSy || sy == DivSy || sy == FormSy) {
      ParseBlockContainer(sy, termSet | nestedEnds);
    } else if (BodyInlineSymbolSet()[sy] || sy == TableSy) {
      ParseInline();
    } else {
      SeparateSkipped(sy);
      Next();
    }
  }
  if (marked) --ListLevel;
}

void TTagReader::ParseListItem(int kind, int number, const SymbolSet& termSet, bool plain,
                               char numbering) {
  if (TooDeep()) {
    Next();
    return;
  }
  const TNestingGuard guard(Nesting);
  CloseSection();
  const Symbol itemSymbol = Sy();
  TElementScope element(*this, itemSymbol == DDSy ? "dd" : itemSymbol == DTSy ? "dt" : "li");
  FontChanged();
  const TListItemInfo info{kind, number, ListLevel, plain, numbering};
  TCellBasic* outer = EnterNewBlock(std::make_unique<TBlockLI>(Cell, Stack.Last(), &Attrs(), info));
  OpenSection();
  Tok.SkipWhiteSpace();
  Next();
  static const SymbolSet containerEnds = MakeSet({OLSy, LISy, ULSy, DirSy, MenuSy, DLSy, DDSy, DTSy});
  for (;;) {
    const Symbol sy = Sy();
    if (sy == PSy && kind != lkNoList) {
      ParseParagraph({});
    } else if (ItemInlineSymbol(sy, BodyInlineSymbolSet())) {
      ParseInline();
    } else if (IsListStart(sy)) {
      ParseList(sy, termSet);
      if (Sy() == EndTagOf(sy)) Next();
    } else if (sy == UnknownTagToken) {
      Next();
    } else if (sy == AddressSy || sy == BlockQuoteSy || sy == CenterSy || sy == DivSy || sy == FormSy) {
      ParseBlockContainer(sy, termSet | containerEnds);
    } else {
      break;
    }
  }
  LeaveBlock(outer);
  element.Close();
}

void TTagReader::ParseBlockContainer(Symbol sy, const SymbolSet& termSet) {
  switch (sy) {
    case AddressSy:
    case BlockQuoteSy:
      CloseSection();
      ParseList(sy, termSet);
      // Only its own end tag is consumed: a symbol that ended it for an enclosing reader
      // stays for that reader.
      if (Sy() == EndTagOf(sy)) Next();
      break;
    case CenterSy: ParseCenter(termSet); break;
    case DivSy: ParseDiv(termSet); break;
    case FormSy: ParseForm(termSet); break;
    default:
      SeparateSkipped(sy);
      Next();
      break;
  }
}

void TTagReader::ParseRule() {
  CloseSection();
  TElementScope element(*this, "hr");
  TProperties& props = element.Props();
  auto line = std::make_unique<THorzLine>(&Doc, Attrs(), props);
  Cell->AddSection(std::make_unique<THRBlock>(Cell, props, std::move(line)));
  element.Close();
}

void TTagReader::AddPage() {
  CloseSection();
  Cell->AddSection(std::make_unique<TPage>(&Doc));
}

void TTagReader::OpenPreLine() {
  CloseSection();
  Section = std::make_unique<TPreFormated>(&Doc, Cell->Empty(), Cell, &UrlTarget, Stack.Last(), nullptr);
}

void TTagReader::AppendPreText(const TokenObj& tokens, bool& skipLineEnd) {
  // A text run keeps its line ends: each one closes the line and starts the next.
  const std::string_view text = tokens.Text();
  const auto& positions = tokens.Positions();
  std::size_t start = 0;
  if (skipLineEnd && !text.empty() && text.front() == '\r') start = 1;
  skipLineEnd = false;
  TokenObj piece;
  for (std::size_t i = start; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\r') {
      piece.AddChar(text[i], positions[i]);
      continue;
    }
    if (piece.Count() > 0) static_cast<TPreFormated&>(*Section).AddPreText(piece, Stack.Last());
    piece.Clear();
    if (i < text.size()) OpenPreLine();
  }
}

void TTagReader::ParsePreformatted() {
  CloseSection();
  TElementScope element(*this, "pre");
  FontChanged();
  TCellBasic* outer = EnterBlock();
  OpenPreLine();
  Tok.SetPreFormatted(true);
  Next();
  // A line end right after the start tag belongs to the markup, not to the text.
  bool skipLineEnd = true;
  static const SymbolSet inlineObjects = MakeSet(
      {ASy, AEndSy, ImageSy, InputSy, SelectSy, TextAreaSy, MapSy, ScriptSy, PanelSy});
  for (;;) {
    const Symbol sy = Sy();
    if (sy == EofToken || sy == PreEndSy || sy == TDEndSy || sy == THEndSy) break;
    if (sy == TextToken) {
      AppendPreText(Tok.Token(), skipLineEnd);
      Next();
    } else if (sy == BRSy || sy == PSy || sy == PEndSy) {
      OpenPreLine();
      skipLineEnd = true;
      Next();
    } else if (sy == FontSy || sy == BaseFontSy) {
      ApplyFontTag(sy, TTextKind::Preformatted);
      FontChanged();
      Next();
    } else if (sy == FontEndSy) {
      if (Stack.Count() > element.Depth() + 1) Pop("font");
      FontChanged();
      Next();
    } else if (sy == PageSy) {
      CloseSection();
      Cell->AddSection(std::make_unique<TPage>(&Doc));
      OpenPreLine();
      Next();
    } else if (FontChangeSymbolSet()[sy] || inlineObjects[sy]) {
      ParseInline();
    } else {
      Next();
    }
  }
  // The last line is kept only when it holds something: the line end before </PRE>
  // ends the text rather than starting an empty line.
  if (Section && Section->Text().empty() && !Section->HasAnchor) Section.reset();
  Tok.SetPreFormatted(false);
  LeaveBlock(outer);
  element.Close();
  if (Sy() == PreEndSy) Next();
}

}  // namespace tessival::layout
