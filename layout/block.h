#pragma once
// Blocks: a section that lays out a content cell inside a box of margins, borders and
// padding, with an explicit or automatic width and height, floating left or right,
// clearing floats, relative or absolute positioning, a z-index, visibility, display none,
// page-break flags, a background and a title. Paragraphs, headings, DIVs, lists and
// quotations are blocks; TBodyBlock is the document body.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "html/attribute_list.h"
#include "html/properties.h"
#include "layout/block_background.h"
#include "layout/block_box.h"
#include "layout/cell.h"
#include "layout/section_base.h"

namespace tessival::layout {

class TBlock;

// The content of a block; it lays out with its block's indent manager.
class TBlockCell : public TCellBasic {
 public:
  TBlockCell(TSectionList* document, std::string ownerTag, TBlock* owner)
      : TCellBasic(document, std::move(ownerTag)), OwnerBlock(owner) {}
  TBlock* OwnerBlock;  // not owned
};

enum TBlockFloat : int { bfNone = 0, bfLeft = 5, bfRight = 6 };

class TBlock : public TSectionBase {
 public:
  // Reads the element's box and collapses its top margin with what precedes it in
  // `ownerCell` (the block is added to that cell by the caller right after). `attributes`
  // may be null.
  TBlock(TCellBasic* ownerCell, const html::TProperties& props, const html::TAttributeList* attributes);
  ~TBlock() override;

  // If the last flow section of `cell` is a block whose bottom margin is the default
  // paragraph space, that margin is dropped (the reader calls this when a block, item or
  // cell closes). True when a margin was dropped.
  static bool DropTrailingMargin(TCellBasic& cell);

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
  // The content width for the available width, fixing auto margins on the way.
  virtual int ComputeContentWidth(platform::Canvas& canvas, int availWidth, int availHeight);
  const char* KindName() const override { return "Block"; }
  const TCellBasic* ChildCell() const override { return ContentCell.get(); }
  bool IsAbsolutelyPositioned() const override { return Positioning == html::posAbsolute; }

  bool IsFloating() const { return FloatSide != bfNone; }

  TCellBasic* OwnerCell;  // not owned
  std::unique_ptr<TBlockCell> ContentCell;
  std::string TagName;
  std::string TagPath;  // tag + "." + class
  // The element's box as given (never null; shared with other blocks, so replaced, never
  // changed), and as resolved for the last layout.
  std::shared_ptr<const TGivenBox> Given;
  TBlockBox Box;
  // Top and bottom margins are fixed at creation (collapsing works on them).
  int& MarginTop = Box.MarginTop;
  int& MarginBottom = Box.MarginBottom;
  int& MarginLeft = Box.MarginLeft;
  int& MarginRight = Box.MarginRight;
  bool TopIsParagraphSpace = false;
  bool BottomIsParagraphSpace = false;
  platform::TColor BackgroundColor = html::NoColor;
  platform::TColor BorderColor = html::NoColor;
  platform::TColor TextColor = 0;
  bool HasBorder = false;
  int FloatSide = bfNone;
  int ClearSide = 0;  // 1 left, 2 right, 3 both
  html::TPositionType Positioning = html::posStatic;
  bool Hidden = false;
  bool DisplayNone = false;
  bool PageBreakBefore = false;
  bool PageBreakAfter = false;
  bool PageBreakInsideAvoid = false;
  bool IsListContainer = false;
  bool EmptyListCell = false;  // a list without items: its bottom margin is kept
  std::string Title;
  platform::Rect TitleRect;  // the border box at the last paint, in document coordinates
  TBackgroundRef BackgroundImage;
  // The picture behind BackgroundImage, made at the first layout with images shown.
  std::unique_ptr<TBlockBackground> BackgroundPicture;
  // Layout results.
  int ContentWidth = 0;
  int IndentX = 0;  // content x relative to the x the block was given
  int ContentTop = 0;
  int ClearOffset = 0;
  int BoxBottom = 0;   // bottom of the border box
  int BoxOffsetX = 0;  // left of the border box relative to the x the block was given
  int PaintLeft = 0;   // content x at the last paint
  // Whether everything the block paints lies in the band [Top, Top + its height): a static
  // block in the flow with no negative margin, holding only text and blocks like itself.
  // Worked out once for the children it has.
  bool PaintsWithinItsBand();

 protected:
  // A copy of `source` for another document, its content copied section by section.
  TBlock(TSectionList* document, const TBlock& source);
  // Lays the content out from contentTop at contentX, contentWidth wide.
  int LayoutContent(const LayoutArgs& args, int contentX, int contentTop, int contentWidth, int& pos,
                    int& maxWidth, IndentManager& indents);
  // The content's width range, cached for one layout pass.
  void ContentWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth);
  void PaintBox(platform::Canvas& canvas, const platform::Rect& clip, const platform::Rect& borderBox);
  void PaintChildren(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft,
                     int x, IndentManager& indents);
  // Printing: true when the page ends at this block and it is not painted.
  bool EndsPageBefore();
  // Makes `box` this block's given box, shared through the document when there is one.
  void SetGivenBox(const TGivenBox& box);

 private:
  void CollapseTopMargin();
  void ReadStyle(const html::TProperties& props);
  // Asks for the background picture once images are shown.
  void SizeBackground(platform::Canvas& canvas);
  int ClearingDistance(const IndentManager& indents, int y) const;
  // The steps of Layout: where the box starts (where the flow has it, or where its offsets
  // put it), the content's left edge, the arguments its content is laid out with, the
  // bottoms once it is, and a float or absolutely placed block leaving the flow.
  platform::Point PlaceBox(const LayoutArgs& args);
  int PlaceContent(const LayoutArgs& args, IndentManager& indents, int x, int flowY);
  LayoutArgs ContentArgs(const LayoutArgs& args) const;
  void SetBottoms(const LayoutArgs& args);
  void LeaveFlow(const LayoutArgs& args, IndentManager& indents);
  void BuildDrawOrder();

  TBlockBox RangeBox_;  // the box against width 0, as width ranges want it
  bool RangeBoxResolved_ = false;
  int WidthRangePass_ = -1;  // the layout pass the content's width range was taken in
  const platform::Canvas* WidthRangeCanvas_ = nullptr;
  int WidthRangeMin_ = 0;
  int WidthRangeMax_ = 0;
  std::vector<TSectionBase*> DrawOrder;  // children in paint order, not owned
  std::size_t DrawOrderSource = 0;       // the child count the order was built for

  // The child count PaintsWithinBand_ was worked out for.
  std::size_t BandCheckedFor_ = SIZE_MAX;
  bool PaintsWithinBand_ = false;
};

// The document body: its content starts at the body margins; its background belongs to
// the document.
class TBodyBlock : public TBlock {
 public:
  TBodyBlock(TCellBasic* ownerCell, const html::TProperties& props,
             const html::TAttributeList* attributes);

  std::unique_ptr<TSectionBase> Clone(TSectionList* document) const override;
  int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents) override;
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
            IndentManager& indents) override;
  const char* KindName() const override { return "Body"; }

 private:
  TBodyBlock(TSectionList* document, const TBodyBlock& source) : TBlock(document, source) {}
};

}  // namespace tessival::layout
