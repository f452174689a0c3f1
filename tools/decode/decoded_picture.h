#pragma once
// A PNG or GIF file decoded through the engine's decoders, recognised by its first bytes.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "imaging/gif_image.h"
#include "imaging/png_image.h"

namespace tessival::tools {

class DecodedPicture {
 public:
  // Throws the decoder's exception, or std::runtime_error for an unknown format.
  explicit DecodedPicture(std::span<const std::uint8_t> data);

  int Width() const;
  int Height() const;
  int FrameCount() const;
  // Frame n (1-based) as the viewer shows it: frames 1..n composited on black.
  imaging::PixelImage Frame(int n);
  // The transparency mask of frame n (1 bit, set = transparent), or nothing.
  std::optional<imaging::PixelImage> Mask(int n);
  std::string Info() const;

 private:
  std::unique_ptr<imaging::TPNGImage> png_;
  bool png_transparent_ = false;
  std::unique_ptr<imaging::TGIFImage> gif_;
};

}  // namespace tessival::tools
