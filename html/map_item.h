#pragma once
// One client-side image map: its areas in document order, each with a link (empty for
// NOHREF), a target and a shape.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/map_area_shape.h"
#include "html/url_target.h"

namespace tessival::html {

class TAttributeList;

class TMapItem {
 public:
  explicit TMapItem(std::string_view mapName);

  const std::string& MapName() const { return map_name_; }  // upper-cased
  // Adds the area an AREA tag describes; one with too few coordinates is ignored.
  void AddArea(const TAttributeList& attributes);
  // The link of the first area that contains the point; nothing when that area has no
  // link (later areas are not tried) or when no area contains the point.
  std::unique_ptr<TUrlTarget> HitTest(int x, int y) const;
  int AreaCount() const { return static_cast<int>(areas_.size()); }

 private:
  struct Area {
    std::string url;
    std::string target;
    std::unique_ptr<MapAreaShape> shape;
  };

  std::string map_name_;
  std::vector<Area> areas_;
};

// The numbers of a COORDS value; at most 301, each 0 when it does not convert.
std::vector<int> ParseCoords(std::string_view coords);

}  // namespace tessival::html
