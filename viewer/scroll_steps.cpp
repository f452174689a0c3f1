#include "viewer/scroll_steps.h"

#include <algorithm>

namespace tessival::viewer {

namespace {
constexpr int kFarPastEdge = 15;
constexpr int kFastFactor = 8;
constexpr int kMiddleFarDistance = 60;
constexpr int kMiddleSlowStep = 8;
constexpr int kMiddleFastStep = 32;
// More than any document is high: a wheel step never needs more.
constexpr long long kMaxScrollPixels = 1LL << 30;
}  // namespace

WheelStep WheelScrollStep(int eighths, int carry, int lines_per_notch, int line_step) {
  // 64 bits: a flood of events from a free-spinning wheel must not wrap.
  const long long total = -static_cast<long long>(eighths) * lines_per_notch * line_step + carry;
  const long long pixels = total / kWheelNotch;
  return {static_cast<int>(std::clamp<long long>(pixels, -kMaxScrollPixels, kMaxScrollPixels)),
          static_cast<int>(total % kWheelNotch)};
}

int ClampScrollY(int y, int doc_height, int panel_height) {
  return std::max(std::min(y, doc_height - panel_height), 0);
}

int DragScrollTarget(int position, int mouse_y, int panel_height, int small_change) {
  if (mouse_y < -kFarPastEdge) return position - kFastFactor * small_change;
  if (mouse_y <= 0) return position - small_change;
  if (mouse_y > panel_height + kFarPastEdge) return position + kFastFactor * small_change;
  return position + small_change;
}

int MiddleScrollTarget(int position, int distance) {
  if (distance < -kMiddleFarDistance) return position - kMiddleFastStep;
  if (distance < -kMiddleScrollDeadZone) return position - kMiddleSlowStep;
  if (distance > kMiddleFarDistance) return position + kMiddleFastStep;
  if (distance <= kMiddleScrollDeadZone) return position;
  return position + kMiddleSlowStep;
}

}  // namespace tessival::viewer
