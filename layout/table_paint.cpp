// Painting of tables: backgrounds, cell content, the sunken cell frames or the cells' own
// borders, the border colour in the spacing and the raised frame around the grid.
#include <algorithm>

#include "layout/html_table.h"
#include "layout/section_list.h"
#include "platform/region.h"

namespace tessival::layout {
namespace {

constexpr platform::TColor Silver = 0xC0C0C0;
constexpr platform::TColor Black = 0x000000;

void FillVisible(platform::Canvas& canvas, const platform::Rect& clip, const platform::Rect& rect,
                 platform::TColor color) {
  const platform::Rect visible = platform::IntersectRect(clip, rect);
  if (!visible.IsEmpty()) canvas.FillRect(visible, color & 0xFFFFFF);
}

// Two colours around a rectangle: `topLeft` on the top and left edges, `bottomRight` on the
// others. The rectangle's right and bottom lines lie at right and bottom.
void Frame(platform::Canvas& canvas, const platform::Rect& clip, const platform::Rect& r,
           platform::TColor topLeft, platform::TColor bottomRight) {
  FillVisible(canvas, clip, {r.left, r.top, r.right, r.top + 1}, topLeft);
  FillVisible(canvas, clip, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
  FillVisible(canvas, clip, {r.left, r.bottom, r.right + 1, r.bottom + 1}, bottomRight);
  FillVisible(canvas, clip, {r.right, r.top, r.right + 1, r.bottom}, bottomRight);
}

// The border box less the padding box, in one colour.
void Bands(platform::Canvas& canvas, const platform::Rect& clip, const platform::Rect& outer,
           const platform::Rect& inner, platform::TColor color) {
  FillVisible(canvas, clip, {outer.left, outer.top, outer.right, inner.top}, color);
  FillVisible(canvas, clip, {outer.left, inner.bottom, outer.right, outer.bottom}, color);
  FillVisible(canvas, clip, {outer.left, inner.top, inner.left, inner.bottom}, color);
  FillVisible(canvas, clip, {inner.right, inner.top, outer.right, inner.bottom}, color);
}

bool RowVisible(const TCellList& row, int clipTop, int clipBottom) {
  return row.Top < clipBottom && row.Top + std::max(row.Height, row.TallestCell) > clipTop;
}

}  // namespace

void ThtmlTable::PaintCell(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                           TCellObj& cell, int x) {
  const int yOffset = Document ? Document->YOffset : 0;
  const int top = cell.Top - yOffset;
  const platform::Rect box = {x + CellSpacing, top + CellSpacing, x + cell.Width, top + cell.Height};
  if (box.bottom + 1 < clip.top || box.top - 1 > clip.bottom) return;
  platform::Rect padding = {box.left + cell.BorderLeft, box.top + cell.BorderTop,
                            box.right - cell.BorderRight, box.bottom - cell.BorderBottom};
  const bool printing = Document && Document->Printing;
  const bool backgrounds = !printing || Document->PrintBackgrounds;
  platform::TColor color = cell.HasBackground ? cell.BackgroundColor : html::NoColor;
  if (color == html::NoColor && HasBackground) color = BackgroundColor;
  if (color != html::NoColor && backgrounds) {
    platform::Rect fill = padding;
    if (cell.HasCellBorder) fill = {fill.left - 1, fill.top - 1, fill.right + 1, fill.bottom + 1};
    FillVisible(canvas, clip, fill, color);
  }
  if (cell.BackgroundPicture && Document && Document->ShowImages && backgrounds)
    cell.BackgroundPicture->Paint(canvas, clip, padding);
  cell.Cell->Paint(canvas, clip, refTop, refLeft, x + CellSpacing + cell.PadLeft + cell.BorderLeft,
                   std::max(0, cell.LaidOutWidth));
  if (cell.HasCellBorder) {
    const platform::TColor borderColor = cell.CellBorderColor != html::NoColor ? cell.CellBorderColor
                                                                               : Black;
    Bands(canvas, clip, box, padding, borderColor);
  } else if (Border && !cell.Cell->Empty()) {
    const bool whiteBehind = ((color != html::NoColor ? color
                               : Document             ? Document->Background
                                                      : 0) &
                              0xFFFFFF) == 0xFFFFFF;
    platform::TColor light = LightColor;
    if (DefaultLight && (whiteBehind || printing)) light = Silver;
    platform::TColor dark = DarkColor;
    if (printing && Document->PrintMonoBlack) light = dark = Black;
    Frame(canvas, clip, {x + CellSpacing - 1, top + CellSpacing - 1, x + cell.Width, top + cell.Height},
          dark, light);
  }
}

void ThtmlTable::PaintBorderColor(platform::Canvas& canvas, const platform::Rect& clip, int left,
                                  int first, int last) {
  if (first > last) return;
  const int yOffset = Document ? Document->YOffset : 0;
  const int top = Rows[first]->Top - yOffset;
  const int bottom = last + 1 < static_cast<int>(Rows.size()) ? Rows[last + 1]->Top - yOffset
                                                              : GridTop + TableHeight - yOffset;
  platform::TRegion region = platform::TRegion::CreateRectRgn(left, top, left + TableWidth, bottom);
  const int grow = Border ? 1 : 0;
  for (int r = first; r <= last; ++r) {
    for (int c = 0; c < NumCols; ++c) {
      const TCellObj* cell = Rows[r]->Cells[c].get();
      if (!cell || cell->IsFiller()) continue;
      const int x = left + ColStarts[c];
      const int y = cell->Top - yOffset;
      const platform::TRegion box = platform::TRegion::CreateRectRgn(x + CellSpacing - grow,
                                                                     y + CellSpacing - grow,
                                                                     x + cell->Width + grow,
                                                                     y + cell->Height + grow);
      region.CombineRgn(region, box, platform::RegionCombine::RGN_DIFF);
    }
  }
  const platform::TRegion visible = platform::TRegion::Combine(
      region, platform::TRegion::CreateRectRgnIndirect(clip), platform::RegionCombine::RGN_AND);
  if (!visible.Empty()) canvas.FillRgn(visible, BorderColor & 0xFFFFFF);
}

bool ThtmlTable::EndsPageBeforeTable() {
  if (!Document || !Document->Printing) return false;
  const int pageTop = Document->YOffset;
  const int pageHeight = Document->PageBottom - pageTop;
  // A table that starts in the lower third and does not fit goes whole to the next page,
  // when a page can hold it at all.
  if (Top > pageTop + 2 * pageHeight / 3 && Top < Document->PageBottom &&
      Top + SectionHeight > Document->PageBottom && SectionHeight <= pageHeight) {
    Document->PageBottom = Top;
    return true;
  }
  return false;
}

bool ThtmlTable::EndsPageBeforeRow(const TCellList& row, bool first) {
  if (!Document || !Document->Printing) return false;
  const int pageTop = Document->YOffset;
  const int pageHeight = Document->PageBottom - pageTop;
  const int breakAt = row.Top + CellSpacing / 2;
  const int bottom = row.Top + row.Height;
  const bool split = row.Top < Document->PageBottom && bottom > Document->PageBottom &&
                     row.Height <= pageHeight;
  const bool ends = (row.PageBreaks.Before && row.Top > pageTop) ||
                    (row.PageBreaks.InsideAvoid && split && row.Top > pageTop) ||
                    (!first && split && row.Top > pageTop + 2 * pageHeight / 3);
  if (ends) Document->PageBottom = std::min(Document->PageBottom, breakAt);
  return ends;
}

int ThtmlTable::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                      int x, IndentManager& indents) {
  (void)indents;
  PaintX = x;
  const int below = Top + SectionHeight;
  const int yOffset = Document ? Document->YOffset : 0;
  const int clipTop = clip.top + yOffset;
  const int clipBottom = clip.bottom + yOffset;
  if (Top >= clipBottom || below <= clipTop) return below;
  if (EndsPageBeforeTable()) return below;
  if (Caption && CaptionOnTop) Caption->Cell->Paint(canvas, clip, refTop, refLeft, x, OverallWidth);
  const int left = x + TableX;
  int first = -1, last = -2;
  const bool printing = Document && Document->Printing;
  for (int r = 0; r < static_cast<int>(Rows.size()); ++r) {
    const TCellList& row = *Rows[r];
    if (row.Top >= clipBottom) break;
    if (printing && (row.Top >= Document->PageBottom || EndsPageBeforeRow(row, r == 0))) break;
    if (!RowVisible(row, clipTop, clipBottom)) continue;
    if (first < 0) first = r;
    last = r;
    for (int c = 0; c < NumCols; ++c) {
      TCellObj* cell = row.Cells[c].get();
      if (cell && !cell->IsFiller())
        PaintCell(canvas, clip, refTop, refLeft, *cell, left + ColStarts[c]);
    }
    const int rowBottom = row.Top + row.Height;
    if (printing && row.PageBreaks.After && rowBottom > Document->YOffset &&
        rowBottom < Document->PageBottom)
      Document->PageBottom = rowBottom;
  }
  if (HasBorderColor && first >= 0) PaintBorderColor(canvas, clip, left, first, last);
  if (Border) {
    const int top = GridTop - yOffset;
    Frame(canvas, clip, {left, top, left + TableWidth - 1, top + TableHeight - 1}, LightColor,
          DarkColor);
  }
  if (Caption && !CaptionOnTop) Caption->Cell->Paint(canvas, clip, refTop, refLeft, x, OverallWidth);
  return below;
}

}  // namespace tessival::layout
