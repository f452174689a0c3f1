#pragma once
// The slots of a table grid and its rows. A slot either holds a cell (its content in a
// TCell, with the cell's box values, width and alignment) or fills a place that a spanning
// cell covers (ColSpan 0); a row may also leave a place empty (null) beside a cell that
// spans columns.
#include <memory>
#include <vector>

#include "html/attribute_list.h"
#include "html/properties.h"
#include "layout/block_background.h"
#include "layout/cell.h"

namespace tessival::layout {

enum TCellVAlign : int { cvTop = 1, cvMiddle = 2, cvBottom = 4 };

struct TPageBreaks {
  bool Before = false;
  bool After = false;
  bool InsideAvoid = false;
};

class TCellObj {
 public:
  // A cell read from TD or TH with the element's properties; `valign` is the default the
  // tag reader found (the row's, or middle).
  TCellObj(TSectionList* document, const html::TProperties& props,
           const html::TAttributeList& attributes, int valign);
  // A slot covered by a spanning cell.
  TCellObj(int colSpan, int rowSpan);
  // A copy for another document.
  TCellObj(TSectionList* document, const TCellObj& source);
  ~TCellObj();
  TCellObj(const TCellObj&) = delete;
  TCellObj& operator=(const TCellObj&) = delete;

  bool IsFiller() const { return !Cell; }
  // Unset paddings take the table's; the extras follow.
  void ApplyTablePadding(int cellPadding);
  // Asks for the background picture once images are shown.
  void SizeBackground(platform::Canvas& canvas);

  int ColSpan = 1;
  int RowSpan = 1;
  std::unique_ptr<TCell> Cell;  // null for a filler
  bool HasBackground = false;
  platform::TColor BackgroundColor = html::NoColor;
  TBackgroundRef BackgroundImage;
  std::unique_ptr<TBlockBackground> BackgroundPicture;
  int SpecWidth = 0;  // pixels, or per mille with WidthIsPercent; 0 for none
  bool WidthIsPercent = false;
  int SpecHeight = 0;
  int VAlign = cvMiddle;
  int VAlignOffset = 0;
  // Padding and (with HasCellBorder) borders, -1 for a padding not given.
  int PadTop = -1, PadRight = -1, PadBottom = -1, PadLeft = -1;
  bool HasCellBorder = false;
  int BorderTop = 0, BorderRight = 0, BorderBottom = 0, BorderLeft = 0;
  platform::TColor CellBorderColor = html::NoColor;
  int HzSpace = 0;
  int VrSpace = 0;
  TPageBreaks PageBreaks;
  // Layout results.
  int Width = 0;
  int Height = 0;
  int Top = 0;  // document y of the cell's row: hit tests use [Top, Top + Height)
  int ContentHeight = 0;
  int LaidOutY = NotLaidOut;  // where the content was last laid out, to skip a repeat
  int LaidOutWidth = -1;
  int ContentStartPos = 0;
  int ContentMin = 0;  // the content's width range in the current pass
  int ContentMax = 0;
  int RangePass = -1;

 private:
  void ReadBox(const html::TProperties& props);
};

// One row of the grid.
class TCellList {
 public:
  TCellList() = default;
  TCellList(const html::TProperties& props, const html::TAttributeList* attributes);

  std::vector<std::unique_ptr<TCellObj>> Cells;  // entries may be null
  int RowHeight = 0;                             // HEIGHT: a minimum for its cells
  bool HasBackground = false;
  platform::TColor BackgroundColor = html::NoColor;
  TBackgroundRef BackgroundImage;
  TPageBreaks PageBreaks;
  // Layout results.
  int Height = 0;
  int TallestCell = 0;
  int Top = 0;  // document y of the row
};

}  // namespace tessival::layout
