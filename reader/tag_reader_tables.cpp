// The table reader: TABLE with its rows, cells and caption. Each cell reads its content
// with the body reader until a symbol of the cell set; whatever stands in a table outside
// any cell lands in the cell around the table, in front of it.
#include "html/text_util.h"
#include "layout/section_list.h"
#include "layout/table_block.h"
#include "reader/tag_reader_state.h"

namespace tessival::layout {

using namespace html;

namespace {

const SymbolSet& CellSet() {
  static const SymbolSet set = MakeSet(
      {TableEndSy, TDSy, TDEndSy, TRSy, TREndSy, THSy, THEndSy, CaptionSy, CaptionEndSy});
  return set;
}

// VALIGN, or `fallback` when it names no alignment.
int VAlignOf(const TAttributeList& attrs, int fallback) {
  const TAttribute* attr = attrs.Find(VAlignSy);
  if (!attr) return fallback;
  const std::string value = ToLower(Trim(attr->StrValue));
  if (value == "top" || value == "baseline") return cvTop;
  if (value == "middle") return cvMiddle;
  if (value == "bottom") return cvBottom;
  return fallback;
}

std::string_view TextAlignOf(const TProperties& props) {
  const auto text = AsString(props.Prop(piTextAlign));
  return text ? *text : std::string_view();
}

// The open row and cell of the table being read.
struct TTableRead {
  ThtmlTable* Table = nullptr;
  TCellBasic* Outer = nullptr;  // the cell around the table
  std::size_t TableDepth = 0;   // element stack with "table" pushed
  std::size_t RowDepth = 0;     // element stack with the row's "tr" pushed
  std::unique_ptr<TCellList> Row;
  int RowVAlign = cvMiddle;
  std::unique_ptr<TCellObj> CellObj;
  bool OuterNoBreak = false;
};

}  // namespace

void TTagReader::EndPendingLink() {
  if (!InLink) return;
  UrlTarget.Clear();
  InLink = false;
  if (Section) Section->HRefChange(Stack.Last(), UrlTarget, LinkEdge::End, VShift);
}

void TTagReader::ParseTable() {
  if (TableDepth >= kMaxTableDepth || TooDeep()) {
    Next();  // too deep: the content reads as if this TABLE tag were not there
    return;
  }
  const TNestingGuard tables(TableDepth);
  const TNestingGuard nesting(Nesting);
  EndPendingLink();
  CloseSection();
  TTableRead read;
  read.Outer = Cell;
  read.OuterNoBreak = NoBreak;
  const TVShift savedShift = VShift;
  const int savedListLevel = ListLevel;
  const std::size_t startDepth = Stack.Count();
  const std::string_view around = TextAlignOf(Stack.Last());
  const bool aroundCentred = around == "center";
  const bool aroundRight = around == "right";
  TProperties& props = Push("table");
  auto block = std::make_unique<TTableBlock>(Cell, props, Attrs(), TableDepth == 1);
  if (block->Justify != tjCenter && !block->IsFloating())
    block->Justify = aroundCentred ? tjCenter : aroundRight ? tjRight : tjNone;
  read.Table = block->Table;
  read.TableDepth = Stack.Count();
  FontChanged();

  const auto finishCell = [&] {
    if (!read.CellObj) return;
    CloseSection();
    TBlock::DropTrailingMargin(*read.CellObj->Cell);
    if (read.Row) read.Row->Cells.push_back(std::move(read.CellObj));
    read.CellObj.reset();
    Cell = read.Outer;
    NoBreak = read.OuterNoBreak;
    Stack.PopTo(read.Row ? read.RowDepth : read.TableDepth);
    FontChanged();
  };
  const auto finishRow = [&] {
    if (read.Row) read.Table->Rows.push_back(std::move(read.Row));
    read.Row.reset();
    Stack.PopTo(read.TableDepth);
    FontChanged();
  };
  const auto startRow = [&](const TAttributeList* attrs) {
    Stack.PopTo(read.TableDepth);
    TProperties& row = attrs ? Push("tr") : Stack.PushElement("tr");
    if (attrs) SetTextAlign(row, AttrText(AlignSy));
    read.Row = std::make_unique<TCellList>(row, attrs);
    read.RowVAlign = attrs ? VAlignOf(*attrs, cvMiddle) : cvMiddle;
    read.RowDepth = Stack.Count();
  };
  const auto startCell = [&](Symbol sy) {
    EndPendingLink();
    finishCell();
    if (!read.Row) startRow(nullptr);
    TProperties& cellProps = Push(sy == THSy ? "th" : "td");
    SetTextAlign(cellProps, AttrText(AlignSy));
    if (!cellProps.IsAssigned(piTextAlign))
      cellProps.AssignProperty(piTextAlign, PropValue(std::string_view(sy == THSy ? "center" : "left")));
    FontChanged();
    read.CellObj = std::make_unique<TCellObj>(&Doc, cellProps, Attrs(),
                                              VAlignOf(Attrs(), read.RowVAlign));
    Cell = read.CellObj->Cell.get();
    const bool pixelWidth = read.CellObj->SpecWidth > 0 && !read.CellObj->WidthIsPercent;
    if (HasAttr(NoWrapSy) && !pixelWidth) NoBreak = true;
    Tok.SkipWhiteSpace();
    Next();
    ParseBody(CellSet());
  };
  const auto readCaption = [&] {
    EndPendingLink();
    NoBreak = read.OuterNoBreak;
    finishCell();
    if (ToLower(Trim(AttrText(AlignSy))) == "bottom") read.Table->CaptionOnTop = false;
    const std::size_t depth = Stack.Count();
    TProperties& captionProps = Push("caption");
    FontChanged();
    Cell = read.Table->MakeCaption(captionProps, Attrs()).Cell.get();
    Next();
    ParseBody(CellSet());
    CloseSection();
    Stack.PopTo(depth);
    FontChanged();
    Cell = read.Outer;
    if (Sy() == CaptionEndSy) Next();
  };

  Next();
  while (Sy() != TableEndSy && Sy() != CaptionEndSy && Sy() != EofToken) {
    switch (Sy()) {
      case TDSy:
      case THSy: startCell(Sy()); break;
      case TRSy:
        EndPendingLink();
        finishCell();
        finishRow();
        startRow(&Attrs());
        FontChanged();
        Next();
        break;
      case TREndSy:
        EndPendingLink();
        finishCell();
        finishRow();
        Next();
        break;
      case TDEndSy:
      case THEndSy:
        finishCell();
        Next();
        break;
      case CaptionSy: readCaption(); break;
      default:
        // Outside any cell: into the cell around the table, in front of it.
        finishCell();
        ParseBody(CellSet());
        CloseSection();
        break;
    }
  }
  EndPendingLink();
  finishCell();
  finishRow();
  Stack.PopTo(startDepth);
  FontChanged();
  Cell = read.Outer;
  Cell->AddSection(std::move(block));
  NoBreak = read.OuterNoBreak;
  VShift = savedShift;
  ListLevel = savedListLevel;
  Next();
}

}  // namespace tessival::layout
