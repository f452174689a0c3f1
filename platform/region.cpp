#include "platform/region.h"

#include <algorithm>
#include <cmath>

namespace tessival::platform {
namespace {

int Clamp(int v) { return std::clamp(v, -RegionCoordinateLimit, RegionCoordinateLimit); }

bool Applies(RegionCombine mode, bool in_a, bool in_b) {
  switch (mode) {
    case RegionCombine::RGN_AND: return in_a && in_b;
    case RegionCombine::RGN_OR: return in_a || in_b;
    case RegionCombine::RGN_XOR: return in_a != in_b;
    case RegionCombine::RGN_DIFF: return in_a && !in_b;
    case RegionCombine::RGN_COPY: return in_a;
  }
  return false;
}

// One row's spans of a and b combined by a sweep over their edges.
std::vector<RegionSpan> CombineSpans(const std::vector<RegionSpan>& a, const std::vector<RegionSpan>& b,
                                     RegionCombine mode) {
  std::vector<int> edges;
  edges.reserve(2 * (a.size() + b.size()));
  for (const RegionSpan& s : a) edges.insert(edges.end(), {s.left, s.right});
  for (const RegionSpan& s : b) edges.insert(edges.end(), {s.left, s.right});
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  auto contains = [](const std::vector<RegionSpan>& spans, int x) {
    for (const RegionSpan& s : spans) {
      if (x < s.left) return false;
      if (x < s.right) return true;
    }
    return false;
  };
  std::vector<RegionSpan> out;
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    if (!Applies(mode, contains(a, edges[i]), contains(b, edges[i]))) continue;
    if (!out.empty() && out.back().right == edges[i]) {
      out.back().right = edges[i + 1];
    } else {
      out.push_back({edges[i], edges[i + 1]});
    }
  }
  return out;
}

const std::vector<RegionSpan>& SpansAt(const std::vector<RegionBand>& bands, int y) {
  static const std::vector<RegionSpan> none;
  auto it = std::upper_bound(bands.begin(), bands.end(), y,
                             [](int v, const RegionBand& band) { return v < band.bottom; });
  return (it != bands.end() && it->top <= y) ? it->spans : none;
}

}  // namespace

void TRegion::AppendBand(int top, int bottom, std::vector<RegionSpan> spans) {
  if (spans.empty() || bottom <= top) return;
  if (!bands_.empty() && bands_.back().bottom == top && bands_.back().spans == spans) {
    bands_.back().bottom = bottom;
    return;
  }
  bands_.push_back({top, bottom, std::move(spans)});
}

TRegion TRegion::CreateRectRgn(int left, int top, int right, int bottom) {
  TRegion region;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left < right) region.AppendBand(top, bottom, {{left, right}});
  return region;
}

TRegion TRegion::CreateEllipticRgn(int left, int top, int right, int bottom) {
  left = Clamp(left), top = Clamp(top), right = Clamp(right), bottom = Clamp(bottom);
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  TRegion region;
  const double cx = (left + right) / 2.0, cy = (top + bottom) / 2.0;
  const double rx = (right - left) / 2.0, ry = (bottom - top) / 2.0;
  if (rx <= 0 || ry <= 0) return region;
  for (int y = top; y < bottom; ++y) {
    const double dy = (y + 0.5 - cy) / ry;
    if (dy * dy > 1.0) continue;
    const double half = rx * std::sqrt(1.0 - dy * dy);
    const int from = static_cast<int>(std::ceil(cx - half - 0.5));
    const int to = static_cast<int>(std::floor(cx + half - 0.5)) + 1;
    if (from < to) region.AppendBand(y, y + 1, {{from, to}});
  }
  return region;
}

TRegion TRegion::CreatePolygonRgn(std::span<const Point> points) {
  TRegion region;
  if (points.size() < 3) return region;
  std::vector<Point> p(points.begin(), points.end());
  int top = RegionCoordinateLimit, bottom = -RegionCoordinateLimit;
  for (Point& q : p) {
    q = {Clamp(q.x), Clamp(q.y)};
    top = std::min(top, q.y);
    bottom = std::max(bottom, q.y);
  }
  std::vector<double> crossings;
  for (int y = top; y < bottom; ++y) {
    const double yc = y + 0.5;
    crossings.clear();
    for (std::size_t i = 0; i < p.size(); ++i) {
      const Point a = p[i], b = p[(i + 1) % p.size()];
      if ((a.y <= yc) == (b.y <= yc)) continue;
      crossings.push_back(a.x + (yc - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    std::vector<RegionSpan> spans;
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      const int from = static_cast<int>(std::ceil(crossings[i] - 0.5));
      const int to = static_cast<int>(std::ceil(crossings[i + 1] - 0.5));
      if (from >= to) continue;
      if (!spans.empty() && spans.back().right >= from) {
        spans.back().right = std::max(spans.back().right, to);
      } else {
        spans.push_back({from, to});
      }
    }
    region.AppendBand(y, y + 1, std::move(spans));
  }
  return region;
}

TRegion TRegion::Combine(const TRegion& a, const TRegion& b, RegionCombine mode) {
  if (mode == RegionCombine::RGN_COPY) return a;
  std::vector<int> ys;
  for (const TRegion* r : {&a, &b}) {
    for (const RegionBand& band : r->bands_) ys.insert(ys.end(), {band.top, band.bottom});
  }
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  TRegion out;
  for (std::size_t i = 0; i + 1 < ys.size(); ++i) {
    out.AppendBand(ys[i], ys[i + 1],
                   CombineSpans(SpansAt(a.bands_, ys[i]), SpansAt(b.bands_, ys[i]), mode));
  }
  return out;
}

RegionKind TRegion::CombineRgn(const TRegion& a, const TRegion& b, RegionCombine mode) {
  *this = Combine(a, b, mode);
  return Kind();
}

RegionKind TRegion::Kind() const {
  if (bands_.empty()) return RegionKind::NULLREGION;
  return bands_.size() == 1 && bands_[0].spans.size() == 1 ? RegionKind::SIMPLEREGION
                                                           : RegionKind::COMPLEXREGION;
}

bool TRegion::PtInRegion(int x, int y) const {
  for (const RegionSpan& s : SpansAt(bands_, y)) {
    if (x < s.left) return false;
    if (x < s.right) return true;
  }
  return false;
}

Rect TRegion::Bounds() const {
  if (bands_.empty()) return {};
  Rect r{bands_.front().spans.front().left, bands_.front().top, bands_.front().spans.back().right,
         bands_.back().bottom};
  for (const RegionBand& band : bands_) {
    r.left = std::min(r.left, band.spans.front().left);
    r.right = std::max(r.right, band.spans.back().right);
  }
  return r;
}

void TRegion::OffsetRgn(int dx, int dy) {
  for (RegionBand& band : bands_) {
    band.top = ClampCoordinate(static_cast<long long>(band.top) + dy);
    band.bottom = ClampCoordinate(static_cast<long long>(band.bottom) + dy);
    for (RegionSpan& s : band.spans) {
      s.left = ClampCoordinate(static_cast<long long>(s.left) + dx);
      s.right = ClampCoordinate(static_cast<long long>(s.right) + dx);
    }
  }
}

std::vector<Rect> TRegion::Rects() const {
  std::vector<Rect> out;
  for (const RegionBand& band : bands_) {
    for (const RegionSpan& s : band.spans) out.push_back({s.left, band.top, s.right, band.bottom});
  }
  return out;
}

}  // namespace tessival::platform
