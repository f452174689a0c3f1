#include "app/window_placement.h"

#include <algorithm>

namespace tessival::app {

QRect PlaceInside(const QRect& wanted, const QRect& available) {
  if (available.isEmpty()) return wanted;
  QRect placed(wanted.topLeft(), wanted.size().boundedTo(available.size()));
  placed.moveLeft(std::clamp(placed.left(), available.left(), available.right() + 1 - placed.width()));
  placed.moveTop(std::clamp(placed.top(), available.top(), available.bottom() + 1 - placed.height()));
  return placed;
}

}  // namespace tessival::app
