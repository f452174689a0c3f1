#include "layout/html_table.h"

#include <algorithm>

#include "html/color_parser.h"
#include "layout/section_list.h"
#include "layout/table_rows.h"
#include "platform/colors.h"

namespace tessival::layout {
namespace {

int NumAttribute(const html::TAttributeList& attributes, html::Symbol symbol, int fallback) {
  const html::TAttribute* attr = attributes.Find(symbol);
  return attr ? attr->NumValue : fallback;
}

std::optional<platform::TColor> ColorAttribute(const html::TAttributeList& attributes,
                                               html::Symbol symbol) {
  const html::TAttribute* attr = attributes.Find(symbol);
  if (!attr) return std::nullopt;
  const auto color = html::ColorFromString(attr->StrValue, false);
  if (!color) return std::nullopt;
  return *color | html::PaletteRelative;
}

// The table's text: hands out the document's "first baseline" request only after the
// cells are done, so that a list item beside a table finds the table's bottom, not a line
// inside it.
class ScopedNoBaselineRequest {
 public:
  explicit ScopedNoBaselineRequest(TSectionList* document)
      : document_(document), saved_(document ? document->FirstLineHeight : nullptr) {
    if (document_) document_->FirstLineHeight = nullptr;
  }
  ~ScopedNoBaselineRequest() {
    if (document_) document_->FirstLineHeight = saved_;
  }
  ScopedNoBaselineRequest(const ScopedNoBaselineRequest&) = delete;
  ScopedNoBaselineRequest& operator=(const ScopedNoBaselineRequest&) = delete;

 private:
  TSectionList* document_;
  int* saved_;
};

}  // namespace

ThtmlTable::ThtmlTable(TSectionList* document, const html::TAttributeList& attributes)
    : TSectionBase(document),
      LightColor(platform::GetSysColor(platform::COLOR_BTNHIGHLIGHT)),
      DarkColor(platform::GetSysColor(platform::COLOR_BTNSHADOW)) {
  Border = NumAttribute(attributes, html::BorderSy, 0) > 0;
  // Negative values would let cells overlap; they count as none.
  CellPadding = std::clamp(NumAttribute(attributes, html::CellPaddingSy, 1), 0, MaxPadding);
  CellSpacing = std::clamp(NumAttribute(attributes, html::CellSpacingSy, 2), 0, MaxSpacing);
  if (Border) CellSpacing = std::max(1, CellSpacing + 2);
  const auto light = ColorAttribute(attributes, html::BorderColorLightSy);
  const auto dark = ColorAttribute(attributes, html::BorderColorDarkSy);
  const auto border = ColorAttribute(attributes, html::BorderColorSy);
  if (border) {
    BorderColor = *border;
    HasBorderColor = true;
  }
  if (light) LightColor = *light;
  else if (border) LightColor = *border;
  DefaultLight = !light && !border;
  if (dark) DarkColor = *dark;
  else if (border) DarkColor = *border;
}

ThtmlTable::ThtmlTable(TSectionList* document, const ThtmlTable& source)
    : TSectionBase(document),
      CaptionOnTop(source.CaptionOnTop),
      Border(source.Border),
      CellPadding(source.CellPadding),
      CellSpacing(source.CellSpacing),
      LightColor(source.LightColor),
      DarkColor(source.DarkColor),
      BorderColor(source.BorderColor),
      HasBorderColor(source.HasBorderColor),
      DefaultLight(source.DefaultLight),
      WidthAttr(source.WidthAttr),
      WidthIsPercent(source.WidthIsPercent),
      HeightAttr(source.HeightAttr),
      LayoutWidth(source.LayoutWidth),
      HasBackground(source.HasBackground),
      BackgroundColor(source.BackgroundColor) {
  if (source.Caption) Caption = std::make_unique<TCellObj>(document, *source.Caption);
  for (const auto& row : source.Rows) {
    auto copy = std::make_unique<TCellList>();
    copy->RowHeight = row->RowHeight;
    copy->HasBackground = row->HasBackground;
    copy->BackgroundColor = row->BackgroundColor;
    copy->BackgroundImage = row->BackgroundImage;
    copy->PageBreaks = row->PageBreaks;
    for (const auto& slot : row->Cells)
      copy->Cells.push_back(slot ? std::make_unique<TCellObj>(document, *slot) : nullptr);
    Rows.push_back(std::move(copy));
  }
  Initialized = source.Initialized;
  TooManyColumns_ = source.TooManyColumns_;
  NumCols = source.NumCols;
  HasPixelCellWidths = source.HasPixelCellWidths;
}

ThtmlTable::~ThtmlTable() = default;

std::unique_ptr<TSectionBase> ThtmlTable::Clone(TSectionList* document) const {
  return std::unique_ptr<ThtmlTable>(new ThtmlTable(document, *this));
}

TCellObj& ThtmlTable::MakeCaption(const html::TProperties& props,
                                  const html::TAttributeList& attributes) {
  if (!Caption) Caption = std::make_unique<TCellObj>(Document, props, attributes, cvTop);
  return *Caption;
}

// ---------------------------------------------------------------------------------------
// Spans

void ThtmlTable::ShareRowBackgrounds() {
  for (const auto& row : Rows) {
    for (const auto& slot : row->Cells) {
      if (!slot || slot->IsFiller()) continue;
      if (!slot->HasBackground && row->HasBackground) {
        slot->HasBackground = true;
        slot->BackgroundColor = row->BackgroundColor;
      }
      if (slot->BackgroundImage.Url.empty()) slot->BackgroundImage = row->BackgroundImage;
      slot->ApplyTablePadding(CellPadding);
      if (slot->SpecWidth > 0 && !slot->WidthIsPercent) HasPixelCellWidths = true;
      row->PageBreaks.Before |= slot->PageBreaks.Before;
      row->PageBreaks.After |= slot->PageBreaks.After;
      row->PageBreaks.InsideAvoid |= slot->PageBreaks.InsideAvoid;
    }
  }
  if (Caption) Caption->ApplyTablePadding(0);
}

void ThtmlTable::ExpandColumnSpans() {
  for (const auto& row : Rows) {
    std::vector<std::unique_ptr<TCellObj>> expanded;
    for (auto& slot : row->Cells) {
      const int span = slot ? slot->ColSpan : 1;
      const int rowSpan = slot ? slot->RowSpan : 1;
      // Counted before the slots are made, so that a hostile span costs nothing.
      if (span > MaxColumns || static_cast<int>(expanded.size()) + span > MaxColumns)
        throw EProcessError("Table has too many Columns");
      expanded.push_back(std::move(slot));
      for (int i = 1; i < span; ++i)
        expanded.push_back(rowSpan < 2 ? nullptr : std::make_unique<TCellObj>(0, rowSpan));
    }
    row->Cells = std::move(expanded);
  }
}

void ThtmlTable::ExpandRowSpans() {
  const int numRows = static_cast<int>(Rows.size());
  for (int c = 0;; ++c) {
    int width = 0;
    for (const auto& row : Rows) width = std::max(width, static_cast<int>(row->Cells.size()));
    if (c >= width) break;
    for (int r = 0; r < numRows; ++r) {
      auto& cells = Rows[r]->Cells;
      if (c >= static_cast<int>(cells.size()) || !cells[c]) continue;
      TCellObj& slot = *cells[c];
      if (slot.RowSpan < 2 || (slot.IsFiller() && slot.ColSpan == 0 && slot.RowSpan == 0)) continue;
      slot.RowSpan = std::min(slot.RowSpan, numRows - r);
      for (int below = r + 1; below < r + slot.RowSpan; ++below) {
        auto& target = Rows[below]->Cells;
        if (static_cast<int>(target.size()) >= MaxColumns)
          throw EProcessError("Table has too many Columns");
        // A shorter row is filled up to the column, so the filler stays under its cell.
        if (static_cast<int>(target.size()) < c) target.resize(c);
        target.insert(target.begin() + c, std::make_unique<TCellObj>(0, 0));
      }
    }
  }
}

void ThtmlTable::Initialize() {
  if (TooManyColumns_) throw EProcessError("Table has too many Columns");
  if (Initialized) return;
  try {
    ShareRowBackgrounds();
    ExpandColumnSpans();
    ExpandRowSpans();
  } catch (const EProcessError&) {
    TooManyColumns_ = true;
    throw;
  }
  NumCols = 0;
  for (const auto& row : Rows) NumCols = std::max(NumCols, static_cast<int>(row->Cells.size()));
  if (NumCols > MaxColumns) {
    TooManyColumns_ = true;
    throw EProcessError("Table has too many Columns");
  }
  for (const auto& row : Rows) row->Cells.resize(NumCols);
  // A cell's span reaches no further than the grid.
  for (const auto& row : Rows)
    for (int c = 0; c < NumCols; ++c)
      if (row->Cells[c] && !row->Cells[c]->IsFiller())
        row->Cells[c]->ColSpan = std::min(row->Cells[c]->ColSpan, NumCols - c);
  ColWidths.assign(NumCols, 0);
  ColPercents.assign(NumCols, 0);
  Initialized = true;
}

// ---------------------------------------------------------------------------------------
// Widths

void ThtmlTable::TakeContentRanges(platform::Canvas& canvas) {
  const int pass = Document ? Document->LayoutCount : -1;
  if (pass >= 0 && pass == RangesPass_ && &canvas == RangesCanvas_) return;
  ForEachCell(
      [&canvas](TCellObj& cell) { cell.Cell->GetWidthRange(canvas, cell.ContentMin, cell.ContentMax); });
  CaptionMin = Caption ? Caption->ContentMin : 0;
  RangesPass_ = pass;
  RangesCanvas_ = &canvas;
}

std::vector<TColumnCell> ThtmlTable::ColumnCells() const {
  std::vector<TColumnCell> cells;
  for (const auto& row : Rows) {
    for (int c = 0; c < static_cast<int>(row->Cells.size()); ++c) {
      const TCellObj* slot = row->Cells[c].get();
      if (!slot || slot->IsFiller()) continue;
      TColumnCell cell;
      cell.Col = c;
      cell.Span = slot->ColSpan;
      cell.Extras = CellSpacing + slot->HzSpace;
      cell.Min = slot->ContentMin + cell.Extras;
      cell.Max = std::max(slot->ContentMax, slot->ContentMin) + cell.Extras;
      if (slot->WidthIsPercent) cell.Percent = slot->SpecWidth;
      else cell.PixelWidth = slot->SpecWidth;
      cells.push_back(cell);
    }
  }
  return cells;
}

TColumnRanges ThtmlTable::RangesFor(int tableWidth, bool plain) const {
  const std::vector<TColumnCell> cells = ColumnCells();
  return plain ? PlainColumnRanges(cells, NumCols) : PercentColumnRanges(cells, NumCols, tableWidth);
}

void ThtmlTable::GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) {
  minWidth = maxWidth = 0;
  try {
    Initialize();
  } catch (const EProcessError&) {
    return;  // the layout pass reports it and drops the table
  }
  TakeContentRanges(canvas);
  const int pixelWidth = WidthAttr > 0 && !WidthIsPercent ? WidthAttr : 0;
  const bool plain = HasPixelCellWidths && pixelWidth == 0;
  const TColumnRanges ranges = RangesFor(pixelWidth, plain);
  minWidth = ranges.MinTotal + CellSpacing;
  maxWidth = ranges.MaxTotal + CellSpacing;
  // Percent columns without a table width want the width that gives each its maximum.
  if (!plain && WidthAttr == 0) maxWidth = std::max(maxWidth, PercentTableWidth(ranges) + CellSpacing);
  if (pixelWidth > 0) {
    minWidth = std::max(minWidth, pixelWidth);
    maxWidth = std::max(maxWidth, pixelWidth);
  }
  minWidth = std::max(minWidth, CaptionMin);
  maxWidth = std::max({maxWidth, CaptionMin, minWidth});
}

void ThtmlTable::ComputeColumnWidths(int available) {
  const int whole = LayoutWidth > 0 ? LayoutWidth : available;
  const int target = std::max(20, whole - CellSpacing);
  const bool plain = HasPixelCellWidths && LayoutWidth == 0;
  TColumnRanges ranges = RangesFor(target, plain);
  ColPercents = ranges.Percent;
  const auto kind = LayoutWidth > 0 ? TTableWidthKind::Given : TTableWidthKind::Auto;
  ColWidths = DistributeColumns(std::move(ranges), target, kind, plain);
  ColStarts.assign(NumCols + 1, 0);
  for (int c = 0; c < NumCols; ++c)
    ColStarts[c + 1] = std::min(ColStarts[c] + ColWidths[c], kMaxTableLength);
  TableWidth = CellSpacing + ColStarts[NumCols];
  OverallWidth = std::max(TableWidth, CaptionMin);
  TableX = (OverallWidth - TableWidth) / 2;
}

// ---------------------------------------------------------------------------------------
// Heights

int ThtmlTable::LayoutCellContent(TCellObj& cell, const LayoutArgs& args, int y, int width, int& pos) {
  LayoutArgs inner = args;
  inner.x = 0;
  inner.y = y;
  inner.availWidth = std::max(0, width);
  int cellMax = 0;
  int start = pos;
  cell.ContentStartPos = start;
  const int height = cell.Cell->DoLayout(inner, start, cellMax);
  pos = start;
  cell.LaidOutY = y;
  cell.LaidOutWidth = inner.availWidth;
  return height;
}

int ThtmlTable::LayoutCaption(const LayoutArgs& args, int y, int& pos) {
  if (!Caption) return 0;
  Caption->Width = OverallWidth;
  Caption->ContentHeight = LayoutCellContent(*Caption, args, y, OverallWidth, pos);
  Caption->Top = y;
  Caption->Height = Caption->ContentHeight;
  return Caption->ContentHeight;
}

void ThtmlTable::LayoutRows(const LayoutArgs& args, int& pos) {
  const int numRows = static_cast<int>(Rows.size());
  std::vector<TRowCell> needs;
  // First pass: every cell at the top of its row as the rows above stand so far; most
  // cells are already where they end up and are not laid out again.
  int rowTop = GridTop;
  for (int r = 0; r < numRows; ++r) {
    TCellList& row = *Rows[r];
    int tallest = 0;
    for (int c = 0; c < NumCols; ++c) {
      TCellObj* cell = row.Cells[c].get();
      if (!cell || cell->IsFiller()) continue;
      cell->Width = ColStarts[c + cell->ColSpan] - ColStarts[c];
      const int contentWidth = cell->Width - cell->HzSpace - CellSpacing;
      const int y = rowTop + CellSpacing + cell->PadTop + cell->BorderTop;
      cell->ContentHeight = LayoutCellContent(*cell, args, y, contentWidth, pos);
      const int height = std::max(
          {cell->SpecHeight, row.RowHeight, cell->ContentHeight + cell->VrSpace});
      needs.push_back({r, cell->RowSpan, height + CellSpacing});
      if (cell->RowSpan == 1) tallest = std::max(tallest, height + CellSpacing);
    }
    rowTop += tallest;
  }
  const std::vector<int> heights = RowHeights(needs, numRows, HeightAttr - CellSpacing);
  rowTop = GridTop;
  for (int r = 0; r < numRows; ++r) {
    Rows[r]->Top = rowTop;
    Rows[r]->Height = heights[r];
    rowTop += heights[r];
  }
  for (int r = 0; r < numRows; ++r) {
    TCellList& row = *Rows[r];
    row.TallestCell = 0;
    for (int c = 0; c < NumCols; ++c) {
      TCellObj* cell = row.Cells[c].get();
      if (!cell || cell->IsFiller()) continue;
      cell->Top = row.Top;
      cell->Height = Rows[r + cell->RowSpan - 1]->Top + Rows[r + cell->RowSpan - 1]->Height - row.Top;
      row.TallestCell = std::max(row.TallestCell, cell->Height);
      const int room = cell->Height - cell->ContentHeight - CellSpacing - cell->VrSpace;
      if (cell->VAlign == cvTop) cell->VAlignOffset = 0;
      else if (cell->VAlign == cvMiddle) cell->VAlignOffset = room / 2;
      else cell->VAlignOffset = room;
      cell->VAlignOffset = std::max(0, cell->VAlignOffset);
      const int y = row.Top + CellSpacing + cell->PadTop + cell->BorderTop + cell->VAlignOffset;
      if (y != cell->LaidOutY) {
        int again = cell->ContentStartPos;
        LayoutCellContent(*cell, args, y, cell->LaidOutWidth, again);
      }
    }
  }
  TableHeight = rowTop - GridTop + CellSpacing;
}

int ThtmlTable::Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) {
  (void)indents;
  Initialize();
  StartPos = pos;
  Top = AnchorTop = HitTop = args.y;
  ContentLeft = args.x;
  TakeContentRanges(*args.canvas);
  ComputeColumnWidths(args.availWidth);
  {
    const ScopedNoBaselineRequest noBaseline(Document);
    CaptionHeight = 0;
    int y = args.y;
    if (CaptionOnTop) y += CaptionHeight = LayoutCaption(args, y, pos);
    GridTop = y;
    LayoutRows(args, pos);
    if (!CaptionOnTop) CaptionHeight = LayoutCaption(args, GridTop + TableHeight, pos);
  }
  Length = pos - StartPos;
  SectionHeight = DrawHeight = CaptionHeight + TableHeight;
  ContentBottom = HitBottom = args.y + SectionHeight;
  maxWidth = OverallWidth;
  if (Document && Document->FirstLineHeight && *Document->FirstLineHeight == 0)
    *Document->FirstLineHeight = ContentBottom;
  return SectionHeight;
}

// ---------------------------------------------------------------------------------------
// Point queries

int ThtmlTable::RowAt(int y) const {
  // The last row that starts at or above y.
  const auto after = std::upper_bound(Rows.begin(), Rows.end(), y,
                                      [](int value, const auto& row) { return value < row->Top; });
  return static_cast<int>(after - Rows.begin()) - 1;
}

TCellObj* ThtmlTable::CellAt(int x, int y) const {
  if (Caption && y >= Caption->Top && y < Caption->Top + CaptionHeight && x >= PaintX &&
      x < PaintX + OverallWidth)
    return Caption.get();
  int r = RowAt(y);
  // Before the first layout there are no columns to find.
  if (r < 0 || NumCols == 0 || ColStarts.size() != static_cast<std::size_t>(NumCols) + 1) return nullptr;
  const int gridX = x - PaintX - TableX;
  const auto next = std::upper_bound(ColStarts.begin(), ColStarts.end() - 1, gridX);
  int c = static_cast<int>(next - ColStarts.begin()) - 1;
  if (c < 0) return nullptr;
  // Walk back over the places that spanning cells cover to the cell that covers them.
  while (r >= 0 && c >= 0) {
    const TCellObj* slot = Rows[r]->Cells[c].get();
    if (slot && !slot->IsFiller()) {
      TCellObj* cell = Rows[r]->Cells[c].get();
      const bool inside = y < cell->Top + cell->Height && gridX < ColStarts[c] + cell->Width;
      return inside ? cell : nullptr;
    }
    if (slot && slot->ColSpan == 0 && slot->RowSpan == 0) --r;
    else --c;
  }
  return nullptr;
}

int ThtmlTable::FindLink(platform::Canvas& canvas, int x, std::string& title,
                         TFormControlObj*& formControl, std::unique_ptr<html::TUrlTarget>& urlTarget,
                         int y) {
  TCellObj* cell = CellAt(x, y);
  return cell ? cell->Cell->FindLink(canvas, x, title, formControl, urlTarget, y) : 0;
}

bool ThtmlTable::FindImageAt(int x, int y, int& localX, int& localY, TImageObj*& image) {
  TCellObj* cell = CellAt(x, y);
  return cell && cell->Cell->FindImageAt(x, y, localX, localY, image);
}

int ThtmlTable::PositionAtPoint(platform::Canvas& canvas, int x, int y, bool& insideText,
                                int& lineHeight, int& lineTop, int& charX) {
  TCellObj* cell = CellAt(x, y);
  return cell ? cell->Cell->PositionAtPoint(canvas, x, y, insideText, lineHeight, lineTop, charX) : -1;
}

int ThtmlTable::FindText(int fromPos, std::string_view text, bool matchCase) {
  int found = -1;
  ForEachCell([&](TCellObj& cell) {
    if (found < 0 && cell.Cell->StartPos + cell.Cell->Length > fromPos)
      found = cell.Cell->FindText(fromPos, text, matchCase);
  });
  return found;
}

int ThtmlTable::SourcePosOf(int docPos) const {
  int found = -1;
  ForEachCell([&](const TCellObj& cell) {
    if (found < 0) found = cell.Cell->SourcePosOf(docPos);
  });
  return found;
}

int ThtmlTable::DocPosOf(int sourcePos, SearchDirection direction) const {
  std::vector<const TCellObj*> cells;
  ForEachCell([&](const TCellObj& cell) { cells.push_back(&cell); });
  if (direction == SearchDirection::Backward) std::reverse(cells.begin(), cells.end());
  for (const TCellObj* cell : cells)
    if (const int found = cell->Cell->DocPosOf(sourcePos, direction); found >= 0) return found;
  return -1;
}

bool ThtmlTable::PointOfPosition(platform::Canvas* canvas, int pos, int& y, int& x) {
  bool found = false;
  ForEachCell([&](TCellObj& cell) {
    if (!found) found = cell.Cell->PointOfPosition(canvas, pos, y, x);
  });
  return found;
}

bool ThtmlTable::CharAt(int pos, char& ch, const TSectionBase*& section) const {
  bool found = false;
  ForEachCell([&](const TCellObj& cell) {
    if (!found) found = cell.Cell->CharAt(pos, ch, section);
  });
  return found;
}

void ThtmlTable::CopySelection() {
  ForEachCell([](TCellObj& cell) { cell.Cell->CopySelection(); });
}

void ThtmlTable::RegisterPositions() {
  if (Document) Document->PositionList.push_back(this);
}

}  // namespace tessival::layout
