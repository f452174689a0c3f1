#include "tools/decode/decoded_picture.h"

#include <cstring>
#include <sstream>
#include <stdexcept>

#include "imaging/bitmap_rows.h"
#include "imaging/pixel_blit.h"
#include "imaging/pixel_canvas.h"
#include "imaging/png_transparency.h"

namespace tessival::tools {

using namespace imaging;

DecodedPicture::DecodedPicture(std::span<const std::uint8_t> data) {
  if (data.size() >= 4 && std::memcmp(data.data(), "GIF8", 4) == 0) {
    gif_ = LoadGifImage(data);
  } else if (data.size() >= 4 && std::memcmp(data.data(), "\x89PNG", 4) == 0) {
    png_ = std::make_unique<TPNGImage>();
    png_->LoadFromStream(data);
    png_transparent_ = HasPngTransparency(data);
  } else {
    throw std::runtime_error("unknown image format (neither PNG nor GIF)");
  }
}

int DecodedPicture::Width() const { return png_ ? png_->Bitmap().Width() : gif_->Width(); }
int DecodedPicture::Height() const { return png_ ? png_->Bitmap().Height() : gif_->Height(); }
int DecodedPicture::FrameCount() const { return png_ ? 1 : gif_->NumFrames(); }

PixelImage DecodedPicture::Frame(int n) {
  if (png_) return ConvertTo24(png_->Bitmap());
  TPixelCanvas canvas(gif_->Width(), gif_->Height());
  TSolidBackground black(0);
  for (int frame = 1; frame <= n; ++frame) {
    gif_->SetCurrentFrame(frame);
    // Returning to frame 1 erases the picture's area, as the viewer's repaint does.
    if (frame == 1) black.FillBackground(canvas.Surface(), 0, 0);
    gif_->DrawAnimated(canvas, 0, 0, gif_->Width(), gif_->Height(), black);
  }
  return std::move(canvas.Surface());
}

std::optional<PixelImage> DecodedPicture::Mask(int n) {
  if (png_) {
    if (!png_transparent_) return std::nullopt;
    return MakeColorMask(png_->Bitmap(), PngMaskColor(*png_));
  }
  if (!gif_->Strip().HasMask()) return std::nullopt;
  // Frame n's slot of the strip mask.
  PixelImage mask(gif_->Width(), gif_->Height(), 1);
  const PixelImage& strip = gif_->Strip().mask;
  const int left = (n - 1) * gif_->Width();
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) mask.SetIndex(x, y, strip.IndexAt(left + x, y));
  return mask;
}

std::string DecodedPicture::Info() const {
  std::ostringstream out;
  out << "width " << Width() << "\nheight " << Height() << "\nframes " << FrameCount() << "\n";
  if (gif_) {
    for (int i = 0; i < gif_->NumFrames(); ++i) {
      const TgfFrame& f = gif_->Frames()[static_cast<std::size_t>(i)];
      out << "frame " << i + 1 << " delay " << f.FrameDelay << " ms disposal " << int(f.FrameDisposal)
          << "\n";
    }
    out << "loops " << gif_->LoopCount() << (gif_->LoopCount() == 0 ? " (forever)" : "") << "\n";
  } else {
    out << "bit depth " << int(png_->HeaderField(0)) << "\ncolour type " << int(png_->HeaderField(1))
        << "\n";
  }
  return out.str();
}

}  // namespace tessival::tools
