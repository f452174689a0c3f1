#include "html/map_item.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "html/ascii_text.h"
#include "html/attribute_list.h"

namespace tessival::html {
namespace {

constexpr std::size_t MaxCoords = 301;
constexpr std::size_t MaxNumberLength = 20;

bool IsSeparator(char c) { return c == ',' || c == ' '; }

int DecimalOrZero(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() ? value : 0;
}

// Shape corners from hostile numbers must not overflow.
int Clamped(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

enum class AreaKind { Rectangle, Circle, Polygon };

AreaKind KindOf(const TAttributeList& attributes) {
  const TAttribute* shape = attributes.Find(ShapeSy);
  if (shape == nullptr) return AreaKind::Rectangle;
  const std::string prefix = ascii::ToLower(shape->StrValue.substr(0, 4));
  if (prefix == "circ") return AreaKind::Circle;
  if (prefix == "poly") return AreaKind::Polygon;
  return AreaKind::Rectangle;
}

std::unique_ptr<MapAreaShape> MakeShape(AreaKind kind, const std::vector<int>& n) {
  switch (kind) {
    case AreaKind::Rectangle:
      if (n.size() < 4) return nullptr;
      return MapAreaShape::Rectangle(n[0], n[1], Clamped(n[2] + 1LL), Clamped(n[3] + 1LL));
    case AreaKind::Circle: {
      if (n.size() < 3) return nullptr;
      const long long x = n[0], y = n[1], r = n[2];
      return MapAreaShape::Ellipse(Clamped(x - r), Clamped(y - r), Clamped(x + r + 1),
                                   Clamped(y + r + 1));
    }
    case AreaKind::Polygon: {
      if (n.size() < 6) return nullptr;
      std::vector<MapPoint> points;
      for (std::size_t i = 0; i + 1 < n.size(); i += 2) points.push_back({n[i], n[i + 1]});
      return MapAreaShape::Polygon(std::move(points));
    }
  }
  return nullptr;
}

}  // namespace

std::vector<int> ParseCoords(std::string_view coords) {
  std::string_view rest = ascii::TrimControls(coords);
  std::vector<int> numbers;
  while (!rest.empty() && numbers.size() < MaxCoords) {
    std::size_t length = 0;
    while (length < rest.size() && !IsSeparator(rest[length])) ++length;
    numbers.push_back(DecimalOrZero(rest.substr(0, std::min(length, MaxNumberLength))));
    rest.remove_prefix(length);
    while (!rest.empty() && IsSeparator(rest.front())) rest.remove_prefix(1);
  }
  return numbers;
}

TMapItem::TMapItem(std::string_view mapName) : map_name_(ascii::ToUpper(mapName)) {}

void TMapItem::AddArea(const TAttributeList& attributes) {
  const TAttribute* coords = attributes.Find(CoordsSy);
  auto shape = MakeShape(KindOf(attributes), ParseCoords(coords ? coords->StrValue : ""));
  if (!shape) return;
  Area area;
  if (const TAttribute* href = attributes.Find(HrefSy)) area.url = href->StrValue;
  if (attributes.Find(NoHrefSy)) area.url.clear();
  if (const TAttribute* target = attributes.Find(TargetSy)) area.target = target->StrValue;
  area.shape = std::move(shape);
  areas_.push_back(std::move(area));
}

std::unique_ptr<TUrlTarget> TMapItem::HitTest(int x, int y) const {
  for (const Area& area : areas_) {
    if (!area.shape->Contains(x, y)) continue;
    if (area.url.empty()) return nullptr;
    auto link = std::make_unique<TUrlTarget>();
    link->Assign(area.url, area.target);
    return link;
  }
  return nullptr;
}

}  // namespace tessival::html
