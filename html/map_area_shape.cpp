#include "html/map_area_shape.h"

#include <algorithm>
#include <cmath>

namespace tessival::html {
namespace {

class RectangleShape : public MapAreaShape {
 public:
  RectangleShape(int left, int top, int right, int bottom)
      : left_(std::min(left, right)),
        top_(std::min(top, bottom)),
        right_(std::max(left, right)),
        bottom_(std::max(top, bottom)) {}
  bool Contains(int x, int y) const override {
    return x >= left_ && x < right_ && y >= top_ && y < bottom_;
  }

 private:
  int left_, top_, right_, bottom_;
};

class EllipseShape : public MapAreaShape {
 public:
  EllipseShape(int left, int top, int right, int bottom)
      : centre_x_((static_cast<double>(left) + right) / 2),
        centre_y_((static_cast<double>(top) + bottom) / 2),
        radius_x_(std::abs(static_cast<double>(right) - left) / 2),
        radius_y_(std::abs(static_cast<double>(bottom) - top) / 2) {}
  bool Contains(int x, int y) const override {
    if (radius_x_ <= 0 || radius_y_ <= 0) return false;
    const double dx = (x + 0.5 - centre_x_) / radius_x_;
    const double dy = (y + 0.5 - centre_y_) / radius_y_;
    return dx * dx + dy * dy <= 1.0;
  }

 private:
  double centre_x_, centre_y_, radius_x_, radius_y_;
};

class PolygonShape : public MapAreaShape {
 public:
  explicit PolygonShape(std::vector<MapPoint> points) : points_(std::move(points)) {}
  bool Contains(int x, int y) const override {
    const double px = x + 0.5;
    const double py = y + 0.5;
    int winding = 0;
    for (std::size_t i = 0; i < points_.size(); ++i) {
      const MapPoint& a = points_[i];
      const MapPoint& b = points_[(i + 1) % points_.size()];
      const double side = (static_cast<double>(b.x) - a.x) * (py - a.y) -
                          (px - a.x) * (static_cast<double>(b.y) - a.y);
      if (a.y <= py && b.y > py && side > 0) ++winding;  // upward crossing, point left
      if (a.y > py && b.y <= py && side < 0) --winding;  // downward crossing, point right
    }
    return winding != 0;
  }

 private:
  std::vector<MapPoint> points_;
};

}  // namespace

std::unique_ptr<MapAreaShape> MapAreaShape::Rectangle(int left, int top, int right, int bottom) {
  return std::make_unique<RectangleShape>(left, top, right, bottom);
}

std::unique_ptr<MapAreaShape> MapAreaShape::Ellipse(int left, int top, int right, int bottom) {
  return std::make_unique<EllipseShape>(left, top, right, bottom);
}

std::unique_ptr<MapAreaShape> MapAreaShape::Polygon(std::vector<MapPoint> points) {
  return std::make_unique<PolygonShape>(std::move(points));
}

}  // namespace tessival::html
