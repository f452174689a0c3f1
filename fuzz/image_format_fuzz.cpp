// Arbitrary bytes handed to the image loader as a host would: the first bytes choose the
// decoder (BMP, GIF, PNG or JPEG); every failure must be "no picture".
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/image_format.h"
#include "imaging/image_loader.h"

using namespace tessival::imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  DetectImageFormat(input);
  for (std::uint8_t asked : {std::uint8_t{kNotTransparent}, std::uint8_t{kByLowerLeftPixel}}) {
    std::uint8_t transparency = asked;
    BitmapPtr mask;
    const TLoadedImage loaded = LoadImageData(input, transparency, mask);
    if (mask && loaded.Bitmap &&
        (mask->Width() != loaded.Bitmap->Width() || mask->Height() != loaded.Bitmap->Height()))
      __builtin_trap();  // a mask must cover its picture
  }
  return 0;
}
