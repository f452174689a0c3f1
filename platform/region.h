#pragma once
// TRegion: a set of pixels built from rectangles, ellipses and polygons, combined with the
// usual set operations. Regions are plain values (copy, compare, destroy); the handle and
// DeleteObject of the original platform become ordinary object lifetime.
//
// Representation: bands of rows [top, bottom) that share the same sorted, disjoint column
// spans [left, right). Adjacent bands with equal spans are merged, so a rectangle is one
// band and equal regions compare equal whatever way they were built.
//
// Which pixels a shape covers (pixel (x, y) is the unit square with its centre at
// (x + 0.5, y + 0.5)):
//   - rectangle (l, t, r, b): columns l..r-1, rows t..b-1;
//   - ellipse inside (l, t, r, b): the pixels whose centre lies inside or on the ellipse
//     inscribed in the rectangle;
//   - polygon: the pixels whose centre lies inside by the alternate (even-odd) rule; a
//     centre exactly on a left edge is inside, on a right edge outside.
// Coordinates of ellipses and polygons are clamped to +-RegionCoordinateLimit, so a shape
// from hostile input costs at most that many rows.
#include <span>
#include <vector>

#include "platform/geometry.h"

namespace tessival::platform {

constexpr int RegionCoordinateLimit = 32767;

enum class RegionCombine { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
// Kinds a combination reports, as CombineRgn did.
enum class RegionKind { NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

struct RegionSpan {
  int left = 0;
  int right = 0;
  friend bool operator==(const RegionSpan&, const RegionSpan&) = default;
};

struct RegionBand {
  int top = 0;
  int bottom = 0;
  std::vector<RegionSpan> spans;
  friend bool operator==(const RegionBand&, const RegionBand&) = default;
};

class TRegion {
 public:
  TRegion() = default;  // the empty region

  static TRegion CreateRectRgn(int left, int top, int right, int bottom);
  static TRegion CreateRectRgnIndirect(const Rect& r) {
    return CreateRectRgn(r.left, r.top, r.right, r.bottom);
  }
  static TRegion CreateEllipticRgn(int left, int top, int right, int bottom);
  static TRegion CreatePolygonRgn(std::span<const Point> points);

  // this := a <mode> b (RGN_COPY copies a); returns the kind of the result.
  RegionKind CombineRgn(const TRegion& a, const TRegion& b, RegionCombine mode);
  static TRegion Combine(const TRegion& a, const TRegion& b, RegionCombine mode);

  bool PtInRegion(int x, int y) const;
  bool Empty() const { return bands_.empty(); }
  RegionKind Kind() const;
  // The smallest rectangle around the region (empty for the empty region).
  Rect Bounds() const;
  // Moves the region; coordinates are clamped to +-CoordinateLimit.
  void OffsetRgn(int dx, int dy);
  const std::vector<RegionBand>& Bands() const { return bands_; }
  // The region as disjoint rectangles, band by band, left to right.
  std::vector<Rect> Rects() const;

  friend bool operator==(const TRegion&, const TRegion&) = default;

 private:
  // Appends a band below the last one, merging it when the spans are equal.
  void AppendBand(int top, int bottom, std::vector<RegionSpan> spans);

  std::vector<RegionBand> bands_;
};

}  // namespace tessival::platform
