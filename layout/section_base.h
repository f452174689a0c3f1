#pragma once
// The interface every section of a document implements: text sections, blocks, tables,
// rules. A document is a tree of sections; its cells (cell.h) hold them in order.
//
// The virtual operations keep one order in every section class (anchor, clone, copy,
// layout, paint, hit tests, search, source positions, widths, registration), so that a
// reader can go from one class to the next and find each operation in the same place.
#include <memory>
#include <stdexcept>
#include <string>

#include "html/id_name_list.h"
#include "html/url_target.h"
#include "platform/canvas.h"
#include "platform/geometry.h"

namespace tessival::layout {

class TSectionList;
class IndentManager;
class TFormControlObj;  // form controls arrive with the forms slice
class TImageObj;        // inline images arrive with the images slice

// A section that cannot be laid out (a table with too many columns, say). The document
// shows the message and drops the section; the rest of the document is laid out.
class EProcessError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A y that no layout has produced yet: far below anything real.
constexpr int NotLaidOut = 999999999;

// What FindLink found, as flags.
enum TFindLinkResult : int { flLink = 1, flFormControl = 2, flTitle = 4 };

// Which way DocPosOf looks for a source position that falls between records.
enum class SearchDirection { Backward, Forward };

// The arguments of a layout call that travel unchanged through the tree.
struct LayoutArgs {
  platform::Canvas* canvas = nullptr;
  int x = 0;  // left edge the section is given
  int y = 0;  // top the section starts at
  int availHeight = 0;
  int availWidth = 0;
  int refTop = 1000;  // origin of the containing block for absolute positioning
  int refLeft = 1000;
};

class TSectionBase : public html::TIDObject {
 public:
  explicit TSectionBase(TSectionList* document) : Document(document) {}
  ~TSectionBase() override = default;
  TSectionBase(const TSectionBase&) = delete;
  TSectionBase& operator=(const TSectionBase&) = delete;

  // --- the section interface, in its fixed order --------------------------------------
  virtual int AnchorY() const { return AnchorTop; }
  // A copy of this section for another document (the printing copy).
  virtual std::unique_ptr<TSectionBase> Clone(TSectionList* document) const;
  // Writes the selected part into the document's selection buffer.
  virtual void CopySelection() {}
  // Lays the section out; `pos` is the running document position, `maxWidth` comes back
  // as the width the section would like. Returns the height the section takes in the flow.
  virtual int Layout(const LayoutArgs& args, int& pos, int& maxWidth, IndentManager& indents);
  // Paints with the section's left edge at x; the clip rectangle is in window coordinates
  // (document y = window y + the document's YOffset). Returns the y below the section.
  virtual int Paint(platform::Canvas& canvas, const platform::Rect& clip, int refTop, int refLeft, int x,
                    IndentManager& indents);
  // Point queries use document coordinates. FindLink returns TFindLinkResult flags; a
  // found link is handed over in urlTarget.
  virtual int FindLink(platform::Canvas& canvas, int x, std::string& title,
                       TFormControlObj*& formControl, std::unique_ptr<html::TUrlTarget>& urlTarget,
                       int y);
  virtual bool FindImageAt(int x, int y, int& localX, int& localY, TImageObj*& image);
  // The document position under a point, or -1.
  virtual int PositionAtPoint(platform::Canvas& canvas, int x, int y, bool& insideText, int& lineHeight,
                              int& lineTop, int& charX);
  // The document position of the next match at or after fromPos, or -1.
  virtual int FindText(int fromPos, std::string_view text, bool matchCase);
  virtual int SourcePosOf(int docPos) const {
    (void)docPos;
    return -1;
  }
  virtual int DocPosOf(int sourcePos, SearchDirection direction) const;
  // canvas may be null: x is then the line's start.
  virtual bool PointOfPosition(platform::Canvas* canvas, int pos, int& y, int& x);
  virtual bool CharAt(int pos, char& ch, const TSectionBase*& section) const;
  virtual void GetWidthRange(platform::Canvas& canvas, int& minWidth, int& maxWidth);
  virtual void RegisterPositions();

  // An anchor's y for "#name" jumps.
  int YPosition() const override { return AnchorY(); }

  // --- what the dump and the tests read ---------------------------------------------
  virtual const char* KindName() const { return "Section"; }
  // Sections held inside this one (a block's content), for walking the tree; none here.
  virtual const class TCellBasic* ChildCell() const { return nullptr; }
  virtual bool IsAbsolutelyPositioned() const { return false; }

  TSectionList* Document;  // the owning document, not owned
  int SectionHeight = 0;   // space taken in the flow (0 for floats)
  int DrawHeight = 0;      // space that must be painted (floats may hang below)
  int StartPos = 0;        // document position of the first character
  int Length = 0;          // positions covered
  int ZIndex = 0;
  int AnchorTop = NotLaidOut;
  int ContentBottom = 0;
  int ContentLeft = 0;
  int HitTop = 0;  // hit tests reach the section in [HitTop, HitBottom)
  int HitBottom = 0;
  int Top = 0;
};

}  // namespace tessival::layout
