#pragma once
// Points, sizes and rectangles in pixels. A rectangle covers the columns left..right-1 and
// the rows top..bottom-1: its right and bottom edges are outside, as on every raster device.
#include <algorithm>

namespace tessival::platform {

// Coordinates that reach a device are kept within +-CoordinateLimit, far outside any
// device, so that sums and widths of clamped values never overflow.
constexpr int CoordinateLimit = (1 << 30) - 1;
constexpr int ClampCoordinate(long long v) {
  return static_cast<int>(std::clamp<long long>(v, -CoordinateLimit, CoordinateLimit));
}

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int cx = 0;
  int cy = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  // Moved by (dx, dy), every edge clamped to +-CoordinateLimit.
  Rect Offset(long long dx, long long dy) const {
    return {ClampCoordinate(left + dx), ClampCoordinate(top + dy), ClampCoordinate(right + dx),
            ClampCoordinate(bottom + dy)};
  }
  // The rectangle at (x, y) of the size, clamped like Offset.
  static Rect FromSize(int x, int y, int width, int height) {
    return {ClampCoordinate(x), ClampCoordinate(y), ClampCoordinate(static_cast<long long>(x) + width),
            ClampCoordinate(static_cast<long long>(y) + height)};
  }
  friend bool operator==(const Rect&, const Rect&) = default;
};

inline bool PtInRect(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The common part of two rectangles; an empty rectangle when they do not meet.
inline Rect IntersectRect(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  return r.IsEmpty() ? Rect{} : r;
}

}  // namespace tessival::platform
