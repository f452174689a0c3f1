// Arbitrary bytes handed to the image loader as a host would: the first bytes choose the
// decoder (BMP, GIF, PNG or JPEG); every failure must be "no picture".
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/image_format.h"
#include "fuzz/bmp_size_guard.h"
#include "imaging/decode_budget.h"
#include "imaging/gif_image.h"
#include "imaging/image_loader.h"

using namespace tessival::imaging;

namespace {

// A mask must cover its picture.
void CheckMask(const TLoadedImage& picture, const BitmapPtr& mask) {
  if (mask && picture.Bitmap &&
      (mask->Width() != picture.Bitmap->Width() || mask->Height() != picture.Bitmap->Height()))
    __builtin_trap();
}

// Whatever the input declares, the picture kept stays within the decoders' budget.
void CheckBudget(const TLoadedImage& picture) {
  if (picture.Bitmap &&
      std::uint64_t(picture.Bitmap->Width()) * std::uint64_t(picture.Bitmap->Height()) > kMaxImagePixels)
    __builtin_trap();
  if (picture.Animated && std::size_t(picture.Animated->NumFrames()) > kMaxAnimationFrames)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (DeclaresHugeBitmap(data, size)) return 0;
  const std::span<const std::uint8_t> input(data, size);
  DetectImageFormat(input);
  std::uint8_t transparency = kNotTransparent;
  BitmapPtr mask;
  const TLoadedImage loaded = LoadImageData(input, transparency, mask);
  CheckMask(loaded, mask);
  CheckBudget(loaded);
  // Asking for a mask decodes again: only for pictures small enough that the time goes to
  // the decoders and not to filling large buffers.
  if (loaded.Bitmap && std::uint64_t(loaded.Bitmap->Width()) * loaded.Bitmap->Height() <= (1u << 20)) {
    transparency = kByLowerLeftPixel;
    const TLoadedImage masked = LoadImageData(input, transparency, mask);
    CheckMask(masked, mask);
  }
  return 0;
}
