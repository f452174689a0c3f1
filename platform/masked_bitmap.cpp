#include "platform/masked_bitmap.h"

namespace tessival::platform {

void TMyBitmap::SetMask(std::unique_ptr<TBitmap> mask) {
  if (mask && (mask->Width() != Width() || mask->Height() != Height())) {
    throw std::invalid_argument("mask size differs from the bitmap");
  }
  mask_ = std::move(mask);
}

}  // namespace tessival::platform
