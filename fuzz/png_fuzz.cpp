// PNG decoding of arbitrary bytes (native and true-colour output), then the reduction of
// small results onto a palette.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/png_error.h"
#include "imaging/png_image.h"
#include "imaging/png_transparency.h"
#include "imaging/reduce_colors.h"

using namespace tessival::imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  HasPngTransparency(input);
  TPNGImage image;
  try {
    image.LoadFromStream(input);
  } catch (const EPNGImageException&) {
    return 0;
  }
  TPNGImage true_color;
  true_color.SetPixelFormat(TPngPixels::TrueColor);
  true_color.LoadFromStream(input);  // the same input decoded once already
  const PixelImage& bitmap = image.Bitmap();
  if (!bitmap.Empty() && std::uint64_t(bitmap.Width()) * bitmap.Height() <= (1u << 16)) {
    ReduceColors(bitmap, TPaletteKind::ProgramCopy, TDitherMode::FloydSteinberg);
    MakeColorMask(bitmap, PngMaskColor(image));
  }
  return 0;
}
