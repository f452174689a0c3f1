#pragma once
// The screen area of one image-map AREA and its hit test.
//
// Shapes follow the rules of the desktop's regions: a rectangle covers left..right−1 and
// top..bottom−1; an ellipse covers the pixels whose centres lie inside the ellipse
// inscribed in its box; a polygon covers the pixels whose centres it encloses under the
// winding rule. This is the engine's own stand-in until the platform's regions take over;
// callers see only MapAreaShape.
#include <memory>
#include <vector>

namespace tessival::html {

struct MapPoint {
  int x = 0;
  int y = 0;
};

class MapAreaShape {
 public:
  virtual ~MapAreaShape() = default;
  virtual bool Contains(int x, int y) const = 0;

  static std::unique_ptr<MapAreaShape> Rectangle(int left, int top, int right, int bottom);
  static std::unique_ptr<MapAreaShape> Ellipse(int left, int top, int right, int bottom);
  static std::unique_ptr<MapAreaShape> Polygon(std::vector<MapPoint> points);
};

}  // namespace tessival::html
