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

// How a table without its own ALIGN sits: as the text around it is aligned.
int JustifyAround(const TProperties& around) {
  const std::string_view align = TextAlignOf(around);
  if (align == "center") return tjCenter;
  if (align == "right") return tjRight;
  return tjNone;
}

}  // namespace

// Reads one TABLE from its tag to past its end tag: rows, cells, the caption, and what
// stands between them. The reader's cell, line-breaking, sub/superscript and list level
// are what they were before the table when it is done.
class TTableReader {
 public:
  explicit TTableReader(TTagReader& reader);
  TTableReader(const TTableReader&) = delete;
  TTableReader& operator=(const TTableReader&) = delete;
  ~TTableReader();

  void Read();

 private:
  bool AtTableEnd() const;
  void ReadPart();
  void StartRow(const TAttributeList* attrs);
  void FinishRow();
  void StartCell(Symbol sy);
  void FinishCell();
  void ReadCaption();
  void ReadOutsideCells();
  void Close();

  TTagReader& reader_;
  TCellBasic* const outer_;  // the cell around the table
  const bool outer_no_break_;
  const TVShift outer_shift_;
  const int outer_list_level_;
  const int around_justify_;
  TElementScope table_scope_;
  std::unique_ptr<TTableBlock> block_;
  ThtmlTable* const table_;
  const std::size_t table_depth_;  // element stack with "table" pushed
  std::unique_ptr<TCellList> row_;
  std::size_t row_depth_ = 0;  // element stack with the row's "tr" pushed
  int row_valign_ = cvMiddle;
  std::unique_ptr<TCellObj> cell_;
};

TTableReader::TTableReader(TTagReader& reader)
    : reader_(reader),
      outer_(reader.Cell),
      outer_no_break_(reader.NoBreak),
      outer_shift_(reader.VShift),
      outer_list_level_(reader.ListLevel),
      around_justify_(JustifyAround(reader.Stack.Last())),
      table_scope_(reader, "table"),
      block_(std::make_unique<TTableBlock>(reader.Cell, table_scope_.Props(), reader.Attrs(),
                                           reader.TableDepth == 1)),
      table_(block_->Table),
      table_depth_(reader.Stack.Count()) {
  if (block_->Justify != tjCenter && !block_->IsFloating()) block_->Justify = around_justify_;
  reader_.FontChanged();
}

// Left by an exception (a comment still open at the end of the text): what was read of the
// table stays in the cell around it, and the reader is back in that cell, so that its
// Finish closes the open section into a cell that still exists.
TTableReader::~TTableReader() {
  if (!block_) return;  // closed: the block went into the cell around the table
  try {
    FinishCell();
    FinishRow();
    outer_->AddSection(std::move(block_));
  } catch (...) {  // NOLINT(bugprone-empty-catch): the first fault is already on its way
  }
  reader_.Cell = outer_;
  reader_.NoBreak = outer_no_break_;
}

void TTableReader::Read() {
  reader_.Next();
  while (!AtTableEnd()) ReadPart();
  Close();
}

bool TTableReader::AtTableEnd() const {
  const Symbol sy = reader_.Sy();
  return sy == TableEndSy || sy == CaptionEndSy || sy == EofToken;
}

void TTableReader::ReadPart() {
  switch (reader_.Sy()) {
    case TDSy:
    case THSy: StartCell(reader_.Sy()); break;
    case TRSy:
      reader_.EndPendingLink();
      FinishCell();
      FinishRow();
      StartRow(&reader_.Attrs());
      reader_.FontChanged();
      reader_.Next();
      break;
    case TREndSy:
      reader_.EndPendingLink();
      FinishCell();
      FinishRow();
      reader_.Next();
      break;
    case TDEndSy:
    case THEndSy:
      FinishCell();
      reader_.Next();
      break;
    case CaptionSy: ReadCaption(); break;
    default: ReadOutsideCells(); break;
  }
}

void TTableReader::StartRow(const TAttributeList* attrs) {
  reader_.Stack.PopTo(table_depth_);
  TProperties& row = attrs ? reader_.Push("tr") : reader_.Stack.PushElement("tr");
  if (attrs) SetTextAlign(row, reader_.AttrText(AlignSy));
  row_ = std::make_unique<TCellList>(row, attrs);
  row_valign_ = attrs ? VAlignOf(*attrs, cvMiddle) : cvMiddle;
  row_depth_ = reader_.Stack.Count();
}

void TTableReader::FinishRow() {
  if (row_) table_->Rows.push_back(std::move(row_));
  row_.reset();
  reader_.Stack.PopTo(table_depth_);
  reader_.FontChanged();
}

void TTableReader::StartCell(Symbol sy) {
  reader_.EndPendingLink();
  FinishCell();
  if (!row_) StartRow(nullptr);
  TProperties& props = reader_.Push(sy == THSy ? "th" : "td");
  SetTextAlign(props, reader_.AttrText(AlignSy));
  if (!props.IsAssigned(piTextAlign))
    props.AssignProperty(piTextAlign, PropValue(std::string_view(sy == THSy ? "center" : "left")));
  reader_.FontChanged();
  cell_ = std::make_unique<TCellObj>(&reader_.Doc, props, reader_.Attrs(),
                                     VAlignOf(reader_.Attrs(), row_valign_));
  reader_.Cell = cell_->Cell.get();
  const bool pixelWidth = cell_->SpecWidth > 0 && !cell_->WidthIsPercent;
  if (reader_.HasAttr(NoWrapSy) && !pixelWidth) reader_.NoBreak = true;
  reader_.Tok.SkipWhiteSpace();
  reader_.Next();
  reader_.ParseBody(CellSet());
}

void TTableReader::FinishCell() {
  if (!cell_) return;
  reader_.CloseSection();
  TBlock::DropTrailingMargin(*cell_->Cell);
  if (row_) row_->Cells.push_back(std::move(cell_));
  cell_.reset();
  reader_.Cell = outer_;
  reader_.NoBreak = outer_no_break_;
  reader_.Stack.PopTo(row_ ? row_depth_ : table_depth_);
  reader_.FontChanged();
}

void TTableReader::ReadCaption() {
  reader_.EndPendingLink();
  reader_.NoBreak = outer_no_break_;
  FinishCell();
  if (ToLower(Trim(reader_.AttrText(AlignSy))) == "bottom") table_->CaptionOnTop = false;
  TElementScope caption(reader_, "caption");
  reader_.FontChanged();
  reader_.Cell = table_->MakeCaption(caption.Props(), reader_.Attrs()).Cell.get();
  reader_.Next();
  reader_.ParseBody(CellSet());
  reader_.CloseSection();
  caption.Close();
  reader_.Cell = outer_;
  if (reader_.Sy() == CaptionEndSy) reader_.Next();
}

// Outside any cell: into the cell around the table, in front of it.
void TTableReader::ReadOutsideCells() {
  FinishCell();
  reader_.ParseBody(CellSet());
  reader_.CloseSection();
}

void TTableReader::Close() {
  reader_.EndPendingLink();
  FinishCell();
  FinishRow();
  table_scope_.Close();
  reader_.Cell = outer_;
  reader_.Cell->AddSection(std::move(block_));
  reader_.NoBreak = outer_no_break_;
  reader_.VShift = outer_shift_;
  reader_.ListLevel = outer_list_level_;
  reader_.Next();
}

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
  TTableReader(*this).Read();
}

}  // namespace tessival::layout
