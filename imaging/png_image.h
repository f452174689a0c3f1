#pragma once
// A PNG picture: the chunk list as read, and the bitmap it decodes to.
//
// Bitmap formats by colour type: grey (0), palette (3) and grey with alpha (4) become
// 1-bit (depth 1), 4-bit (depths 2 and 4; 2-bit samples v are stored as 5v so that the
// palette widened to 16 entries shows the colour of v) or 8-bit (depths 8 and 16)
// indexed bitmaps with a palette; RGB (2) and RGBA (6) become 24-bit. Alpha is dropped;
// 16-bit samples keep their high byte. Rows are TopDown.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "imaging/pixel_image.h"
#include "imaging/png_chunk_list.h"

namespace tessival::imaging {

struct ProgressRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// What the bitmap holds: the formats above, or 24 bits for every colour type (for callers
// that want true colour anyway; saves a conversion pass).
enum class TPngPixels { Native, TrueColor };

class TPNGImage {
 public:
  TPNGImage();
  TPNGImage(const TPNGImage&) = delete;
  TPNGImage& operator=(const TPNGImage&) = delete;

  // Reads one complete PNG from the start of `stream` and replaces the picture.
  // Throws EPNGImageException.
  void LoadFromStream(std::span<const std::uint8_t> stream);

  void SetPixelFormat(TPngPixels format) { pixel_format_ = format; }
  const PixelImage& Bitmap() const { return bitmap_; }
  PixelImage TakeBitmap() { return std::move(bitmap_); }
  TChunkList& Chunks() { return chunks_; }

  std::uint32_t Width() const;
  std::uint32_t Height() const;
  // 0 bit depth, 1 colour type, 2 compression, 3 filter, 4 interlace.
  std::uint8_t HeaderField(int index) const;

  // Set for RGB pictures with a tRNS chunk.
  bool Transparent() const { return transparent_; }
  // The tRNS colour of an RGB picture as 0x00RRGGBB; throws for other colour types.
  std::uint32_t TransparentColor() const;

  // Called with "Drawing..." after each row (or each interlace pass).
  std::function<void(const std::string& stage, int percent, const ProgressRect& area)> OnProgress;

  // Called by the IDAT chunk's Decode: inflates, unfilters and converts the picture.
  void DecodePixels(const TChunkIDAT& idat);

 private:
  void Reset();
  void ReadChunks(std::span<const std::uint8_t> stream);
  Palette MakePalette(int bit_depth, int color_type);
  const TChunkIHDR& Header() const;

  TChunkList chunks_;
  TChunkIHDR default_header_;
  PixelImage bitmap_;
  bool transparent_ = false;
  std::uint32_t transparent_color_ = 0;
  TPngPixels pixel_format_ = TPngPixels::Native;
};

}  // namespace tessival::imaging
