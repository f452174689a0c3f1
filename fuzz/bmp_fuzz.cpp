// Bitmap files from arbitrary bytes: read, then masked and converted as the loader does.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/bmp_reader.h"
#include "fuzz/bmp_size_guard.h"
#include "imaging/image_loader.h"
#include "imaging/platform_bitmaps.h"

using namespace tessival::imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (DeclaresHugeBitmap(data, size)) return 0;
  try {
    const PixelImage image = ReadBmp(std::span<const std::uint8_t>(data, size));
    if (std::uint64_t(image.Width()) * std::uint64_t(image.Height()) <= (1u << 16)) {
      const tessival::platform::TBitmap bitmap = ToPlatformBitmap(image);
      MakeMask(bitmap, TMaskColor::kLowerLeftPixel);
      ConvertForDisplay(bitmap);
    }
  } catch (const EBmpError&) {
  } catch (const std::length_error&) {
  }
  return 0;
}
