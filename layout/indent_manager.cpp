#include "layout/indent_manager.h"

#include <algorithm>

namespace tessival::layout {

void IndentManager::Clear() {
  LeftBands.clear();
  RightBands.clear();
  CurrentOwner = nullptr;
}

void IndentManager::Reset(int leftEdge, int rightEdge) {
  LeftEdge = leftEdge;
  RightEdge = rightEdge;
  CurrentOwner = nullptr;
}

int IndentManager::LeftIndentAt(int y) const {
  int x = 0;
  bool found = false;
  for (const IndentRec& band : LeftBands) {
    if (!Sees(band, y)) continue;
    x = found ? std::max(x, band.X) : band.X;
    found = true;
  }
  return LeftEdge + x;
}

int IndentManager::RightIndentAt(int y) const {
  int x = 0;
  bool found = false;
  for (const IndentRec& band : RightBands) {
    if (!Sees(band, y)) continue;
    x = found ? std::min(x, band.X) : band.X;
    found = true;
  }
  return found ? LeftEdge + x : RightEdge;
}

int IndentManager::PushLeft(int x, int y) {
  LeftBands.push_back({x - LeftEdge, y, OpenBandBottom, CurrentOwner, false});
  return static_cast<int>(LeftBands.size()) - 1;
}

int IndentManager::PushRight(int x, int y) {
  RightBands.push_back({x - LeftEdge, y, OpenBandBottom, CurrentOwner, false});
  return static_cast<int>(RightBands.size()) - 1;
}

void IndentManager::PopLeft(int index) {
  if (index >= 0 && index < static_cast<int>(LeftBands.size()))
    LeftBands.erase(LeftBands.begin() + index);
}

void IndentManager::PopRight(int index) {
  if (index >= 0 && index < static_cast<int>(RightBands.size()))
    RightBands.erase(RightBands.begin() + index);
}

int IndentManager::NextBottomBelow(const std::vector<IndentRec>& bands, int y) {
  int best = -1;
  for (const IndentRec& band : bands) {
    if (band.Owner != nullptr || band.Bottom <= y) continue;
    if (best < 0 || band.Bottom < best) best = band.Bottom;
  }
  return best;
}

int IndentManager::NextWiderY(int y) const {
  const int left = NextBottomBelow(LeftBands, y);
  const int right = NextBottomBelow(RightBands, y);
  if (left < 0 && right < 0) return y;
  if (left < 0) return right;
  if (right < 0) return left;
  return std::min(left, right);
}

int IndentManager::FloatBottom() const {
  int bottom = 0;
  for (const auto* bands : {&LeftBands, &RightBands})
    for (const IndentRec& band : *bands)
      if (band.Owner == nullptr) bottom = std::max(bottom, band.Bottom);
  return bottom;
}

ClearBottoms IndentManager::ClearY() const {
  const auto lowest = [](const std::vector<IndentRec>& bands) {
    int bottom = 0;
    for (const IndentRec& band : bands)
      if (band.Owner == nullptr) bottom = std::max(bottom, band.Bottom + 1);
    return bottom;
  };
  return {lowest(LeftBands), lowest(RightBands)};
}

void IndentManager::AddFloatBlock(int y, int x, FloatSide side, int height) {
  if (side == FloatSide::Left) LeftBands.push_back({x - LeftEdge, y, y + height, nullptr, true});
  else RightBands.push_back({RightIndentAt(y) - x - LeftEdge, y, y + height, nullptr, true});
}

}  // namespace tessival::layout
