#include "layout/indent_manager.h"

#include <algorithm>
#include <optional>

namespace tessival::layout {

namespace {

// Floats whose band still reaches below y: the tail of a list sorted by bottom. Layout runs
// down the page, so this tail is the handful of floats beside the current line however
// many the pass has placed above it.
std::vector<IndentRec>::const_iterator FirstReachingBelow(const std::vector<IndentRec>& floats, int y) {
  return std::upper_bound(floats.begin(), floats.end(), y,
                          [](int at, const IndentRec& band) { return at < band.Bottom; });
}

void InsertByBottom(std::vector<IndentRec>& floats, const IndentRec& band) {
  const auto at = std::upper_bound(floats.begin(), floats.end(), band.Bottom,
                                   [](int bottom, const IndentRec& other) {
                                     return bottom < other.Bottom;
                                   });
  floats.insert(at, band);
}

// The lowest bottom among bands every owner sees (floats and indents pushed without an
// owner), none when there is no such band.
std::optional<int> LowestSharedBottom(const std::vector<IndentRec>& open,
                                      const std::vector<IndentRec>& floats) {
  std::optional<int> bottom;
  if (!floats.empty()) bottom = floats.back().Bottom;
  for (const IndentRec& band : open)
    if (band.Owner == nullptr) bottom = std::max(bottom.value_or(band.Bottom), band.Bottom);
  return bottom;
}

}  // namespace

void IndentManager::Clear() {
  LeftBands.clear();
  RightBands.clear();
  LeftFloats.clear();
  RightFloats.clear();
  CurrentOwner = nullptr;
}

void IndentManager::Reset(int leftEdge, int rightEdge) {
  LeftEdge = leftEdge;
  RightEdge = rightEdge;
  CurrentOwner = nullptr;
}

template <typename Pick>
bool IndentManager::SeenX(const std::vector<IndentRec>& open, const std::vector<IndentRec>& floats,
                          int y, Pick pick, int& x) const {
  bool found = false;
  const auto take = [&](const IndentRec& band) {
    x = found ? pick(x, band.X) : band.X;
    found = true;
  };
  for (const IndentRec& band : open)
    if (Sees(band, y)) take(band);
  for (auto band = FirstReachingBelow(floats, y); band != floats.end(); ++band)
    if (band->Top <= y) take(*band);
  return found;
}

int IndentManager::LeftIndentAt(int y) const {
  int x = 0;
  SeenX(
      LeftBands, LeftFloats, y, [](int a, int b) { return std::max(a, b); }, x);
  return LeftEdge + x;
}

int IndentManager::RightIndentAt(int y) const {
  int x = 0;
  const bool found = SeenX(
      RightBands, RightFloats, y, [](int a, int b) { return std::min(a, b); }, x);
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

int IndentManager::NextBottomBelow(const std::vector<IndentRec>& open,
                                   const std::vector<IndentRec>& floats, int y) {
  const auto first = FirstReachingBelow(floats, y);
  int best = first == floats.end() ? -1 : first->Bottom;
  for (const IndentRec& band : open) {
    if (band.Owner != nullptr || band.Bottom <= y) continue;
    if (best < 0 || band.Bottom < best) best = band.Bottom;
  }
  return best;
}

int IndentManager::NextWiderY(int y) const {
  const int left = NextBottomBelow(LeftBands, LeftFloats, y);
  const int right = NextBottomBelow(RightBands, RightFloats, y);
  if (left < 0 && right < 0) return y;
  if (left < 0) return right;
  if (right < 0) return left;
  return std::min(left, right);
}

int IndentManager::FloatBottom() const {
  const int left = LowestSharedBottom(LeftBands, LeftFloats).value_or(0);
  const int right = LowestSharedBottom(RightBands, RightFloats).value_or(0);
  return std::max({0, left, right});
}

ClearBottoms IndentManager::ClearY() const {
  const auto below = [](const std::vector<IndentRec>& open, const std::vector<IndentRec>& floats) {
    const std::optional<int> bottom = LowestSharedBottom(open, floats);
    return bottom ? std::max(0, *bottom + 1) : 0;
  };
  return {below(LeftBands, LeftFloats), below(RightBands, RightFloats)};
}

void IndentManager::AddFloatBlock(int y, int x, FloatSide side, int height) {
  if (side == FloatSide::Left) InsertByBottom(LeftFloats, {x - LeftEdge, y, y + height, nullptr, true});
  else InsertByBottom(RightFloats, {RightIndentAt(y) - x - LeftEdge, y, y + height, nullptr, true});
}

}  // namespace tessival::layout
