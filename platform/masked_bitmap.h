#pragma once
// TMyBitmap: a bitmap that owns an optional transparency mask. The mask is a 1-bit bitmap
// of the same size, white (1) where the picture is transparent and black (0) where it is
// opaque, the form the masked drawing sequences expect.
#include <memory>

#include "platform/bitmap.h"

namespace tessival::platform {

class TMyBitmap : public TBitmap {
 public:
  using TBitmap::TBitmap;
  explicit TMyBitmap(TBitmap picture) : TBitmap(std::move(picture)) {}

  bool HasMask() const { return mask_ != nullptr; }
  const TBitmap* Mask() const { return mask_.get(); }
  TBitmap* Mask() { return mask_.get(); }
  // Takes the mask (nullptr removes it). A mask of another size is refused.
  void SetMask(std::unique_ptr<TBitmap> mask);

 private:
  std::unique_ptr<TBitmap> mask_;
};

}  // namespace tessival::platform
