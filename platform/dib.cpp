#include "platform/dib.h"

#include <cstring>

namespace tessival::platform {
namespace {

PixelFormat DibFormatOf(const TBitmap& bitmap) {
  return bitmap.Format() == PixelFormat::pf32bit ? PixelFormat::pf24bit : bitmap.Format();
}

}  // namespace

TDib::TDib(const TBitmap& bitmap) {
  const PixelFormat format = DibFormatOf(bitmap);
  const int bits = static_cast<int>(format);
  row_bytes_ = TBitmap::RowBytesFor(bitmap.Width(), format);
  header_.biWidth = bitmap.Width();
  header_.biHeight = bitmap.Height();
  header_.biBitCount = static_cast<std::uint16_t>(bits);
  header_.biSizeImage = static_cast<std::uint32_t>(row_bytes_) *
                        static_cast<std::uint32_t>(bitmap.Height());
  if (bits <= 8) {
    colors_.resize(std::size_t{1} << bits);
    const TPalette& palette = bitmap.Palette();
    for (int i = 0; i < palette.Count() && i < static_cast<int>(colors_.size()); ++i) {
      const PaletteEntry& e = palette.Entry(i);
      colors_[static_cast<std::size_t>(i)] = {e.blue, e.green, e.red, 0};
    }
  }
  bits_.resize(header_.biSizeImage);
  const TBitmap* source = &bitmap;
  TBitmap converted;
  if (format != bitmap.Format()) {
    converted = bitmap.Converted(format);
    source = &converted;
  }
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::memcpy(bits_.data() + static_cast<std::size_t>(bitmap.Height() - 1 - y) * row_bytes_,
                source->ScanLine(y), static_cast<std::size_t>(row_bytes_));
  }
}

TBitmap TDib::ToBitmap() const {
  const auto format = static_cast<PixelFormat>(header_.biBitCount);
  TBitmap out(header_.biWidth, header_.biHeight, format);
  if (!colors_.empty()) {
    std::vector<PaletteEntry> entries;
    for (const RgbQuad& q : colors_) entries.push_back({q.red, q.green, q.blue, 0});
    out.SetPalette(TPalette(std::move(entries)));
  }
  for (int y = 0; y < out.Height(); ++y) {
    std::memcpy(out.ScanLine(y),
                bits_.data() + static_cast<std::size_t>(out.Height() - 1 - y) * row_bytes_,
                static_cast<std::size_t>(row_bytes_));
  }
  return out;
}

}  // namespace tessival::platform
