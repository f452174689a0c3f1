#include "imaging/bitmap_rows.h"

#include <cstring>

namespace tessival::imaging {

PixelImage ConvertTo24(const PixelImage& source) {
  PixelImage out(source.Width(), source.Height(), 24, source.Order());
  const int w = source.Width();
  for (int y = 0; y < source.Height(); ++y) {
    std::uint8_t* d = out.Row(y);
    const std::uint8_t* s = source.Row(y);
    if (source.BitsPerPixel() == 24) {
      std::memcpy(d, s, static_cast<std::size_t>(w) * 3);
    } else if (source.BitsPerPixel() == 32) {
      for (int x = 0; x < w; ++x, d += 3, s += 4) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    } else if (source.BitsPerPixel() == 8) {
      // The palette lookup inlined for the common indexed case.
      const Palette& p = source.Colors();
      for (int x = 0; x < w; ++x, d += 3) {
        const std::size_t i = s[x];
        if (i < p.size()) {
          d[0] = p[i].blue;
          d[1] = p[i].green;
          d[2] = p[i].red;
        }
      }
    } else {
      for (int x = 0; x < w; ++x, d += 3) {
        const std::uint32_t c = source.ColorAt(x, y);
        d[0] = static_cast<std::uint8_t>(c);
        d[1] = static_cast<std::uint8_t>(c >> 8);
        d[2] = static_cast<std::uint8_t>(c >> 16);
      }
    }
  }
  return out;
}

TRow24Reader::TRow24Reader(const PixelImage& source) : image_(&source) {
  if (source.Empty()) throw EBitmapRowError(bitmap_text::kInvalidBitmap);
  if (source.BitsPerPixel() != 24) {
    converted_ = ConvertTo24(source);
    image_ = &converted_;
  }
}

const std::uint8_t* TRow24Reader::Row(int y) const {
  if (y < 0 || y >= image_->Height()) throw EBitmapRowError(bitmap_text::kScanLineRange);
  return image_->Row(y);
}

TDibWriter::TDibWriter(PixelImage& target, int bits_per_pixel) : target_(target) {
  if (bits_per_pixel != 1 && bits_per_pixel != 4 && bits_per_pixel != 8 && bits_per_pixel != 24)
    throw EBitmapRowError(bitmap_text::kInvalidPixelFormat);
  if (target.Empty()) throw EBitmapRowError(bitmap_text::kInvalidBitmap);
  dib_ = PixelImage(target.Width(), target.Height(), bits_per_pixel, RowOrder::BottomUp);
  if (bits_per_pixel <= 8) {
    const std::size_t entries = std::size_t{1} << bits_per_pixel;
    color_table_.assign(entries * 4, 0);
    for (std::size_t i = 0; i < std::min(entries, target.Colors().size()); ++i) {
      const PaletteEntry& e = target.Colors()[i];
      color_table_[4 * i] = e.blue;
      color_table_[4 * i + 1] = e.green;
      color_table_[4 * i + 2] = e.red;
    }
  }
}

std::uint8_t* TDibWriter::Row(int y) {
  if (y < 0 || y >= dib_.Height()) throw EBitmapRowError(bitmap_text::kScanLineRange);
  return dib_.Row(y);
}

void TDibWriter::Finish() {
  Palette palette = std::move(target_.Colors());
  target_ = std::move(dib_);
  target_.Colors() = std::move(palette);
}

}  // namespace tessival::imaging
