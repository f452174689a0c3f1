#include "platform/display_depth.h"

namespace tessival::platform {
namespace {

int& Recorded() {
  static int recorded = 0;  // 0: not read yet
  return recorded;
}

}  // namespace

int DisplayDepth::ClassOfBits(int bits_per_pixel) {
  if (bits_per_pixel <= 4) return 4;
  if (bits_per_pixel <= 8) return 8;
  return 24;
}

int& DisplayDepth::Forced() {
  static int forced = 0;  // 0: not forced
  return forced;
}

int DisplayDepth::Class() {
  if (Forced() != 0) return Forced();
  return Recorded() != 0 ? Recorded() : 24;
}

void DisplayDepth::RecordScreenBits(int bits_per_pixel) {
  if (Recorded() == 0) Recorded() = ClassOfBits(bits_per_pixel);
}

ScopedDisplayDepth::ScopedDisplayDepth(int depth_class) : previous_(DisplayDepth::Forced()) {
  DisplayDepth::Forced() = DisplayDepth::ClassOfBits(depth_class);
}

ScopedDisplayDepth::~ScopedDisplayDepth() { DisplayDepth::Forced() = previous_; }

}  // namespace tessival::platform
