// A whole GIF animation: decoding, the strip, drawing every frame (also scaled) and the
// timer-driven state machine, on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/gif_error.h"
#include "imaging/gif_image.h"
#include "imaging/pixel_canvas.h"

using namespace tessival::imaging;

namespace {
class NullPanel final : public TPaintPanel {
 public:
  void InvalidateRect(const TRect&, bool) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint32_t now = 0;
  std::unique_ptr<TGIFImage> image;
  try {
    image = LoadGifImage(std::span<const std::uint8_t>(data, size), [&now] { return now; });
  } catch (const EInvalidGraphicOperation&) {
    return 0;
  }
  image->Bitmap();
  image->Mask();
  const std::uint64_t area = std::uint64_t(image->Width()) * image->Height();
  if (area == 0 || area > (1u << 14) || image->NumFrames() > 64) return 0;
  TPixelCanvas canvas(image->Width() * 2 + 3, image->Height() * 2 + 3);
  TSolidBackground background(0x123456);
  TGIFImage copy(*image);
  NullPanel panel;
  copy.SetAnimate(true);
  for (int step = 0; step < 2 * copy.NumFrames() + 2; ++step) {
    copy.DrawAnimated(canvas, 1, 2, image->Width() * 2, image->Height() * 2 - 1, background);
    now += 40;
    copy.AdvanceAnimation(panel);
  }
  return 0;
}
