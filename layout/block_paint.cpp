// Painting of blocks: the box (background, borders), the children in z order, the moves
// of relatively placed blocks and the page ends of printing.
#include <algorithm>
#include <typeinfo>

#include "layout/block.h"
#include "layout/section_list.h"
#include "layout/text_section.h"

namespace tessival::layout {
namespace {

bool Meets(const platform::Rect& a, const platform::Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

platform::Rect Intersection(const platform::Rect& a, const platform::Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

void FillVisible(platform::Canvas& canvas, const platform::Rect& clip, const platform::Rect& rect,
                 platform::TColor color) {
  const platform::Rect visible = Intersection(clip, rect);
  if (!visible.IsEmpty()) canvas.FillRect(visible, color);
}

// Moves what a relatively placed block paints by its offsets while it paints.
class ScopedYShift {
 public:
  ScopedYShift(TSectionList* document, int dy) : document_(document), dy_(dy) {
    if (document_) document_->YOffset -= dy_;
  }
  ~ScopedYShift() {
    if (document_) document_->YOffset += dy_;
  }
  ScopedYShift(const ScopedYShift&) = delete;
  ScopedYShift& operator=(const ScopedYShift&) = delete;

 private:
  TSectionList* document_;
  int dy_;
};

}  // namespace

void TBlock::BuildDrawOrder() {
  DrawOrder.clear();
  for (const auto& section : ContentCell->Items()) DrawOrder.push_back(section.get());
  // Negative z first, then the flow (0), then positive; equal values keep document order.
  std::stable_sort(DrawOrder.begin(), DrawOrder.end(),
                   [](const TSectionBase* a, const TSectionBase* b) { return a->ZIndex < b->ZIndex; });
  DrawOrderSource = ContentCell->Items().size();
}

bool TBlock::PaintsWithinItsBand() {
  const std::size_t count = ContentCell->Items().size();
  if (BandCheckedFor_ == count) return PaintsWithinBand_;
  bool within = Positioning == html::posStatic && !IsFloating() && MarginTop >= 0 && MarginBottom >= 0;
  for (const auto& item : ContentCell->Items()) {
    if (!within) break;
    TSectionBase& child = *item;
    if (typeid(child) == typeid(TBlock)) {
      within = static_cast<TBlock&>(child).PaintsWithinItsBand();
    } else {
      within = typeid(child) == typeid(TSection);
    }
  }
  BandCheckedFor_ = count;
  PaintsWithinBand_ = within;
  return within;
}

namespace {

// A plain block wholly above or below the clip paints nothing: passing it by spares the
// walk through every block of a long page for each screenful. (Its children keep the left
// edge of their last paint; hit tests only reach what is on screen, which is painted.)
bool PassedBy(TSectionBase& section, const platform::Rect& clip, int yOffset) {
  const int bottom = section.Top + std::max(section.SectionHeight, section.DrawHeight);
  if (bottom > clip.top + yOffset && section.Top < clip.bottom + yOffset) return false;
  return typeid(section) == typeid(TBlock) && static_cast<TBlock&>(section).PaintsWithinItsBand();
}

}  // namespace

void TBlock::PaintChildren(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                           int x, IndentManager& indents) {
  ScopedIndentOwner owner(indents, this);
  ContentCell->Indents = &indents;
  if (DrawOrderSource != ContentCell->Items().size() || DrawOrder.size() != DrawOrderSource)
    BuildDrawOrder();
  // Printing decides its page breaks as it goes, so it sees every block.
  const bool may_pass_by = Document && !Document->Printing;
  for (TSectionBase* section : DrawOrder) {
    if (may_pass_by && PassedBy(*section, clip, Document->YOffset)) continue;
    section->Paint(canvas, clip, refTop, refLeft, x, indents);
  }
}

bool TBlock::EndsPageBefore() {
  if (!Document || !Document->Printing || Positioning == html::posAbsolute) return false;
  const int pageTop = Document->YOffset;
  const int top = Top + MarginTop;
  if (PageBreakBefore && top > pageTop) {
    Document->PageBottom = std::min(Document->PageBottom, top);
    return true;
  }
  const int bottom = Top + SectionHeight;
  const int pageHeight = Document->PageBottom - pageTop;
  if (PageBreakInsideAvoid && Top >= pageTop && Top < Document->PageBottom &&
      bottom > Document->PageBottom && SectionHeight <= pageHeight && Top > pageTop) {
    Document->PageBottom = Top;
    return true;
  }
  if (PageBreakAfter && bottom > pageTop && bottom < Document->PageBottom) Document->PageBottom = bottom;
  return false;
}

void TBlock::PaintBox(platform::Canvas& canvas, const platform::Rect& clip,
                      const platform::Rect& borderBox) {
  const platform::Rect paddingBox = {borderBox.left + Box.BorderLeftWidth,
                                     borderBox.top + Box.BorderTopWidth,
                                     borderBox.right - Box.BorderRightWidth,
                                     borderBox.bottom - Box.BorderBottomWidth};
  const bool printing = Document && Document->Printing;
  if (BackgroundColor != html::NoColor && (!printing || Document->PrintBackgrounds))
    FillVisible(canvas, clip, paddingBox, BackgroundColor & 0xFFFFFF);
  if (BackgroundPicture && Document && Document->ShowImages)
    BackgroundPicture->Paint(canvas, clip, paddingBox);
  if (!HasBorder) return;
  const platform::TColor color = (BorderColor != html::NoColor ? BorderColor : TextColor) & 0xFFFFFF;
  // The border is the border box less the padding box: four bands.
  FillVisible(canvas, clip, {borderBox.left, borderBox.top, borderBox.right, paddingBox.top}, color);
  FillVisible(canvas, clip, {borderBox.left, paddingBox.bottom, borderBox.right, borderBox.bottom},
              color);
  FillVisible(canvas, clip, {borderBox.left, paddingBox.top, paddingBox.left, paddingBox.bottom}, color);
  FillVisible(canvas, clip, {paddingBox.right, paddingBox.top, borderBox.right, paddingBox.bottom},
              color);
}

int TBlock::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
                  IndentManager& indents) {
  const int below = Top + SectionHeight;
  if (DisplayNone || EndsPageBefore() || Hidden) return below;
  int dx = 0, dy = 0;
  if (Positioning == html::posRelative) {
    dx = Box.PosLeft;
    dy = Box.PosTop;
  }
  x += dx;
  ScopedYShift shift(Document, dy);
  const int yOffset = Document ? Document->YOffset : 0;
  const int boxLeft = x + BoxOffsetX;
  const int boxTop = Top + ClearOffset + MarginTop;
  TitleRect = {boxLeft, boxTop + dy, boxLeft + Box.HorizontalExtras() + ContentWidth, BoxBottom + dy};
  const platform::Rect borderBox = {TitleRect.left, boxTop - yOffset, TitleRect.right,
                                    BoxBottom - yOffset};
  if (Meets(borderBox, clip)) PaintBox(canvas, clip, borderBox);
  PaintLeft = x + IndentX;
  int childTop = refTop, childLeft = refLeft;
  if (Positioning == html::posRelative) {
    childTop = ContentTop;
    childLeft = PaintLeft;
  } else if (Positioning == html::posAbsolute) {
    childTop = boxTop + Box.BorderTopWidth;
    childLeft = boxLeft + Box.BorderLeftWidth;
  }
  PaintChildren(canvas, clip, childTop, childLeft, PaintLeft, indents);
  return below;
}

int TBodyBlock::Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                      int x, IndentManager& indents) {
  (void)x;
  (void)refLeft;
  PaintLeft = indents.LeftEdge + IndentX;
  PaintChildren(canvas, clip, refTop, indents.LeftEdge, PaintLeft, indents);
  return Top + SectionHeight;
}

}  // namespace tessival::layout
