#pragma once
// The strip: every frame of a GIF side by side in one 24-bit bitmap, frame n (1-based) in
// the columns (n - 1) × screen width onward, each frame at the top-left of its slot. The
// optional 1-bit mask has a set (white) bit where a frame pixel is transparent.
#include "imaging/gif_decoder.h"
#include "imaging/pixel_image.h"

namespace tessival::imaging {

class TMyBitmap {
 public:
  PixelImage bitmap;
  PixelImage mask;
  bool HasMask() const { return has_mask_; }
  void SetHasMask(bool has) { has_mask_ = has; }

 private:
  bool has_mask_ = false;
};

// Frames larger than the logical screen are cut to their slot. Throws
// EInvalidGraphicOperation (Value Out Of Range) when the strip would be too large.
TMyBitmap BuildGifStrip(const TGif& gif);

}  // namespace tessival::imaging
