#pragma once
// Cells: ordered, owning lists of sections. The document root, a block's content and
// (later) a table cell are cells; each loops its operations over its sections.
#include <memory>
#include <string>
#include <vector>

#include "layout/indent_manager.h"
#include "layout/section_base.h"

namespace tessival::layout {

class TCellBasic {
 public:
  // `ownerTag` is the tag of the element that owns the cell ("body", "li", "default"...):
  // margin collapsing treats the first block of some cells differently.
  TCellBasic(TSectionList* document, std::string ownerTag);
  virtual ~TCellBasic();
  TCellBasic(const TCellBasic&) = delete;
  TCellBasic& operator=(const TCellBasic&) = delete;

  // Takes a section into the cell. A text section is finished first, and dropped when it
  // holds nothing worth keeping (no characters, no anchor, nothing to clear). Returns the
  // section as kept, or null when it was dropped.
  TSectionBase* AddSection(std::unique_ptr<TSectionBase> section);
  // Removes and frees one section (the one a layout pass could not lay out).
  void DeleteSection(const TSectionBase* section);

  // Lays out every section from y down, x being the cell's left edge. Returns the height
  // of all its sections.
  int DoLayout(const LayoutArgs& args, int& pos, int& maxWidth);
  void GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth);
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x);
  int FindLink(platform::Canvas& canvas, int x, std::string& title, TFormControlObj*& formControl,
               std::unique_ptr<html::TUrlTarget>& urlTarget, int y);
  bool FindImageAt(int x, int y, int& localX, int& localY, TImageObj*& image);
  int PositionAtPoint(platform::Canvas& canvas, int x, int y, bool& insideText, int& lineHeight,
                      int& lineTop, int& charX);
  int FindText(int fromPos, std::string_view text, bool matchCase);
  int SourcePosOf(int docPos) const;
  int DocPosOf(int sourcePos, SearchDirection direction) const;
  bool PointOfPosition(platform::Canvas* canvas, int pos, int& y, int& x);
  bool CharAt(int pos, char& ch, const TSectionBase*& section) const;
  void CopySelection();
  void RegisterPositions();

  bool Empty() const { return Sections.empty(); }
  // The last section that is not absolutely positioned, or null.
  TSectionBase* LastFlowSection() const;
  const std::vector<std::unique_ptr<TSectionBase>>& Items() const { return Sections; }

  TSectionList* Document;
  IndentManager* Indents = nullptr;  // the manager in use, not owned here
  std::string OwnerTag;
  // Results of the last layout.
  int StartY = 0;
  int StartPos = 0;
  int Length = 0;
  int ContentBottom = 0;
  int MinHitTop = 0;
  int DrawBottom = 0;
  int SectionsHeight = 0;

 protected:
  std::vector<std::unique_ptr<TSectionBase>> Sections;

 private:
  void ReportProcessError(const TSectionBase* section, const EProcessError& error);
  bool CoversPosition(int pos) const { return pos >= StartPos && pos <= StartPos + Length; }
};

// A cell with an indent manager of its own: the document root (and table cells later).
class TCell : public TCellBasic {
 public:
  TCell(TSectionList* document, std::string ownerTag);

  // Lays the cell out as the top of an indent context: the manager starts empty with
  // edges 0 and availWidth. Returns the larger of the sections' height and the lowest
  // float below y.
  int DoLayout(const LayoutArgs& args, int& pos, int& maxWidth);
  // Paints with the manager's edges at x and x + the laid-out width; limitWidth is the
  // width the manager reports while painting.
  int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
            int limitWidth);

  IndentManager OwnIndents;
  int LaidOutWidth = 0;
  int PaintY = 0;
};

}  // namespace tessival::layout
