#pragma once
// How a frame set shares its extent among its children, and where the user may drag the
// boundaries between them. Pure arithmetic on plain numbers, so it is tested without a
// window; the frame set widgets only call it.
//
// An entry code n means: n >= 0 a fixed size of n pixels, -1..-99 a relative size of
// weight -n, -100 and below a percentage of (-n - 100).
#include <optional>
#include <string_view>
#include <vector>

namespace tessival::viewer {

constexpr int kMaxFrameEntries = 20;
constexpr int kMaxFramePixels = 5000;
constexpr int kMaxFrameWeight = 99;
constexpr int kMaxFramePercent = 900;
// The mouse must come at least this close to a boundary to drag it.
constexpr int kDragReach = 4;

// Rounds a * b / c to the nearest integer, halves away from zero; -1 when c is 0.
int MulDiv(int a, int b, int c);

// One ROWS or COLS value as entry codes, at most kMaxFrameEntries of them.
std::vector<int> ParseFrameEntries(std::string_view value);

// Which way a FRAMESET divides and its entries: ROWS wins unless it gave at most one
// entry and COLS is there too. Neither attribute leaves the entries empty (equal columns
// once the children are counted).
struct FrameSplit {
  bool SplitsRows = false;
  std::vector<int> DimSpecs;
};
FrameSplit ChooseFrameSplit(const std::optional<std::string_view>& rows,
                            const std::optional<std::string_view>& cols);

// Each entry's size over `extent` pixels. Pixel entries come first, percentages take
// their share of the rest, weights share what remains; a division remainder is left out.
std::vector<int> DistributeFrameSizes(const std::vector<int>& codes, int extent);

// The boundary ends after placing sizes over `extent` pixels: ends[0] = 0 and ends[i+1]
// the end of child i. The sizes are stretched in proportion to fill the extent.
std::vector<int> PlaceFrameEnds(const std::vector<int>& sizes, int extent);

// The sizes that make the children end at `ends`, in the same total as `sizes` had, so
// the proportions survive later placements over other extents.
std::vector<int> SizesFromEnds(const std::vector<int>& ends, int total);

// The boundary (1..children-1) nearest to `p`, or nullopt when there is none. A tie goes
// to the later boundary when p lies at or beyond it.
std::optional<int> NearestBoundary(const std::vector<int>& ends, int p);

// Boundary i cannot be dragged when a child on either side is fixed.
std::vector<bool> ComputeNoDrag(const std::vector<bool>& fixed_children);

// The boundary the mouse at `p` may pick up: within kDragReach pixels and not fixed.
std::optional<int> DraggableBoundary(const std::vector<int>& ends, const std::vector<bool>& no_drag,
                                     int p);

// Where the dragged boundary i may go: strictly between its neighbours.
struct DragRange {
  int Low = 0;
  int High = 0;
};
DragRange DragLimits(const std::vector<int>& ends, int boundary);

}  // namespace tessival::viewer
