#pragma once
// A table: rows of cell slots and a caption, laid out as a grid. Spans are expanded once
// into a rectangular grid; every layout takes the columns' minimum and maximum widths
// from the cells, spreads the width over the columns, finds the row heights, and places
// each cell's content in its box. Painting draws the backgrounds, the cell and table frames
// and the border colour in the spacing; point queries go to the cell under the point.
#include <memory>
#include <vector>

#include "html/attribute_list.h"
#include "layout/section_base.h"
#include "layout/table_cell.h"
#include "layout/table_widths.h"

namespace tessival::layout {

class ThtmlTable : public TSectionBase {
 public:
  static constexpr int MaxColumns = 200;
  static constexpr int MaxPadding = 50;
  static constexpr int MaxSpacing = 40;

  ThtmlTable(TSectionList* document, const html::TAttributeList& attributes);
  ~ThtmlTable() override;

  // The caption cell, made at the first CAPTION.
  TCellObj& MakeCaption(const html::TProperties& props, const html::TAttributeList& attributes);

  // --- the section interface --------------------------------------------------------
  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  void CopySelection() override;
  int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override;
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
            IndentManager& indents) override;
  int FindLink(platform::Canvas& canvas, int x, std::string& title, TFormControlObj*& formControl,
               std::unique_ptr<html::TUrlTarget>& urlTarget, int y) override;
  bool FindImageAt(int x, int y, int& localX, int& localY, TImageObj*& image) override;
  int PositionAtPoint(platform::Canvas& canvas, int x, int y, bool& insideText, int& lineHeight,
                      int& lineTop, int& charX) override;
  int FindText(int fromPos, std::string_view text, bool matchCase) override;
  int SourcePosOf(int docPos) const override;
  int DocPosOf(int sourcePos, SearchDirection direction) const override;
  bool PointOfPosition(platform::Canvas* canvas, int pos, int& y, int& x) override;
  bool CharAt(int pos, char& ch, const TSectionBase*& section) const override;
  void GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth) override;
  void RegisterPositions() override;
  const char* KindName() const override { return "Table"; }

  // Expands the spans into a rectangular grid (once). A grid of more than MaxColumns
  // columns throws EProcessError.
  void Initialize();
  // Every cell, the caption first, in reading order.
  template <typename Visit>
  void ForEachCell(Visit visit) const {
    if (Caption) visit(*Caption);
    for (const auto& row : Rows)
      for (const auto& slot : row->Cells)
        if (slot && !slot->IsFiller()) visit(*slot);
  }

  std::vector<std::unique_ptr<TCellList>> Rows;
  std::unique_ptr<TCellObj> Caption;
  bool CaptionOnTop = true;
  bool Border = false;
  int CellPadding = 1;
  int CellSpacing = 2;
  platform::TColor LightColor;
  platform::TColor DarkColor;
  platform::TColor BorderColor = html::NoColor;
  bool HasBorderColor = false;
  bool DefaultLight = true;  // the light colour is the system's (silver on white pages)
  int WidthAttr = 0;         // pixels, or per mille with WidthIsPercent; 0 for none
  bool WidthIsPercent = false;
  int HeightAttr = 0;
  // The width the table block fixed for this layout (pixels, 0 when the table has none):
  // the columns then fill it exactly.
  int LayoutWidth = 0;
  int NumCols = 0;
  bool Initialized = false;
  bool HasPixelCellWidths = false;
  std::vector<int> ColWidths;
  std::vector<int> ColPercents;
  bool HasBackground = false;
  platform::TColor BackgroundColor = html::NoColor;
  // Layout results.
  int TableWidth = 0;
  int OverallWidth = 0;
  int TableHeight = 0;
  int CaptionHeight = 0;
  int CaptionMin = 0;
  int TableX = 0;
  int GridTop = 0;             // document y of the grid
  int PaintX = 0;              // window x of the table at the last paint
  std::vector<int> ColStarts;  // x of every column relative to the grid, one past the last

 private:
  ThtmlTable(TSectionList* document, const ThtmlTable& source);
  void ExpandColumnSpans();
  void ExpandRowSpans();
  void ShareRowBackgrounds();
  // The cells' content width ranges, taken once per layout pass.
  void TakeContentRanges(platform::Canvas& canvas);
  std::vector<TColumnCell> ColumnCells() const;
  TColumnRanges RangesFor(int tableWidth, bool plain) const;
  void ComputeColumnWidths(int available);
  int LayoutCaption(const LayoutArgs& args, int y, int& pos);
  int LayoutCellContent(TCellObj& cell, const LayoutArgs& args, int y, int width, int& pos);
  void LayoutRows(const LayoutArgs& args, int& pos);
  // The cell whose box holds (x, y) in document coordinates, or null.
  TCellObj* CellAt(int x, int y) const;
  int RowAt(int y) const;
  void PaintCell(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                 TCellObj& cell, int x);
  // Printing: true when the page ends before the table (or the row) and it is not painted
  // on this page.
  bool EndsPageBeforeTable();
  bool EndsPageBeforeRow(const TCellList& row, bool first);
  void PaintBorderColor(platform::Canvas& canvas, const platform::Rect& clip, int left, int first,
                        int last);

  int RangesPass_ = -1;
  const platform::Canvas* RangesCanvas_ = nullptr;
  bool TooManyColumns_ = false;
};

}  // namespace tessival::layout
