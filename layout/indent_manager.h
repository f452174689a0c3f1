#pragma once
// The left and right edges open to content at each y during one layout or paint pass.
//
// Two kinds of bands narrow a cell: the open indents of the blocks being laid out (owned
// by the block that pushed them, and seen only while that block is the current owner, so
// a float's content is not squeezed by the block it floats in) and the bands taken by
// floats (owner none, seen by everyone). Line breaking asks LeftIndentAt / RightIndentAt
// for every line, and NextWiderY when nothing fits beside a float.
//
// Open indents and float bands are kept apart: the first follow nesting, the second stay
// for the whole pass and are searched by their bottom.
//
// Band x values are relative to LeftEdge, so the same bands serve the layout pass (edges
// 0 .. width) and the paint pass (edges at the paint origin).
#include <vector>

namespace tessival::layout {

constexpr int OpenBandBottom = 9999999;

enum class FloatSide { Left, Right };

struct IndentRec {
  int X = 0;    // left band: right edge of what is taken; right band: its left edge
  int Top = 0;  // the band covers Top <= y < Bottom
  int Bottom = OpenBandBottom;
  const void* Owner = nullptr;  // null for floats; else the block or cell that pushed it
  bool IsFloat = false;
};

// The bottoms that clearing moves below: lowest float bottom + 1 per side, 0 for none.
struct ClearBottoms {
  int Left = 0;
  int Right = 0;
};

class IndentManager {
 public:
  void Clear();
  void Reset(int leftEdge, int rightEdge);

  int LeftIndentAt(int y) const;
  int RightIndentAt(int y) const;
  // Open bands of the current owner from y down; the index is for the matching Pop.
  int PushLeft(int x, int y);
  int PushRight(int x, int y);
  void PopLeft(int index);
  void PopRight(int index);

  // The nearest y below `y` at which a float ends (y itself when none ends below).
  int NextWiderY(int y) const;
  // The lowest float bottom (0 when there are no floats).
  int FloatBottom() const;
  ClearBottoms ClearY() const;
  // A floating block of the given height at y: a left float takes the room up to x; a
  // right float of width x takes that much from the right indent at y.
  void AddFloatBlock(int y, int x, FloatSide side, int height);

  int Width = 0;
  int LeftEdge = 0;
  int RightEdge = 0;
  // The block (or the top cell) being laid out: only its own open indents apply.
  const void* CurrentOwner = nullptr;

 private:
  bool Sees(const IndentRec& band, int y) const {
    return band.Top <= y && y < band.Bottom && (band.Owner == nullptr || band.Owner == CurrentOwner);
  }
  // Folds the X of every band seen at y into x with pick; false when none is seen.
  template <typename Pick>
  bool SeenX(const std::vector<IndentRec>& open, const std::vector<IndentRec>& floats, int y, Pick pick,
             int& x) const;
  static int NextBottomBelow(const std::vector<IndentRec>& open, const std::vector<IndentRec>& floats,
                             int y);

  // Open indents, pushed and popped in nesting order (the index is the Pop's handle).
  std::vector<IndentRec> LeftBands;
  std::vector<IndentRec> RightBands;
  // Float bands, kept sorted by bottom: a query at y looks only at those reaching below y,
  // so a page of hundreds of floats costs each line the few still beside it.
  std::vector<IndentRec> LeftFloats;
  std::vector<IndentRec> RightFloats;
};

// Makes a block the current owner for a scope and restores the previous one.
class ScopedIndentOwner {
 public:
  ScopedIndentOwner(IndentManager& indents, const void* owner)
      : indents_(indents), previous_(indents.CurrentOwner) {
    indents.CurrentOwner = owner;
  }
  ~ScopedIndentOwner() { indents_.CurrentOwner = previous_; }
  ScopedIndentOwner(const ScopedIndentOwner&) = delete;
  ScopedIndentOwner& operator=(const ScopedIndentOwner&) = delete;

 private:
  IndentManager& indents_;
  const void* previous_;
};

}  // namespace tessival::layout
