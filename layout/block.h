#pragma once
// Blocks: a section that lays out a content cell inside a box of margins (and, in later
// slices, borders, padding, width, floating and positioning). Paragraphs, headings and
// DIV-like containers are blocks; TBodyBlock is the document body.
#include <memory>
#include <string>

#include "html/attribute_list.h"
#include "html/properties.h"
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
  const char* KindName() const override { return "Block"; }
  const TCellBasic* ChildCell() const override { return ContentCell.get(); }

  TCellBasic* OwnerCell;  // not owned
  std::unique_ptr<TBlockCell> ContentCell;
  std::string TagName;
  std::string TagPath;  // tag + "." + class
  int MarginTop = 0;
  int MarginRight = 0;
  int MarginBottom = 0;
  int MarginLeft = 0;
  bool TopIsParagraphSpace = false;
  bool BottomIsParagraphSpace = false;
  bool DisplayNone = false;
  std::string Title;
  // Layout results.
  int ContentWidth = 0;
  int IndentX = 0;  // content x relative to the x the block was given
  int ContentTop = 0;
  int ClearOffset = 0;
  int PaintLeft = 0;  // content x at the last paint

 protected:
  // A copy of `source` for another document, its content copied section by section.
  TBlock(TSectionList* document, const TBlock& source);
  // Lays the content out from contentTop at contentX, contentWidth wide.
  int LayoutContent(const LayoutArgs& args, int contentX, int contentTop, int contentWidth, int& pos,
                    int& maxWidth, IndentManager& indents);

 private:
  void CollapseTopMargin();
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
