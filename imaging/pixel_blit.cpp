#include "imaging/pixel_blit.h"

#include <algorithm>
#include <cstring>

namespace tessival::imaging {

namespace {

bool MaskBit(const std::uint8_t* mask_row, int x) { return (mask_row[x >> 3] >> (7 - (x & 7))) & 1; }

// Unscaled masked copy of one row: runs of opaque pixels are copied at once.
void CopyMaskedRow(std::uint8_t* d, const std::uint8_t* s, const std::uint8_t* mask_row, int sx,
                   int count) {
  int i = 0;
  while (i < count) {
    while (i < count && MaskBit(mask_row, sx + i)) ++i;
    const int start = i;
    while (i < count && !MaskBit(mask_row, sx + i)) ++i;
    if (i > start) std::memcpy(d + 3 * start, s + 3 * start, 3 * static_cast<std::size_t>(i - start));
  }
}

}  // namespace

void StretchBlit(PixelImage& dest, const TRect& dest_rect, const PixelImage& source,
                 const TRect& source_rect, const PixelImage* mask) {
  const int dw = dest_rect.Width(), dh = dest_rect.Height();
  const int sw = source_rect.Width(), sh = source_rect.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  const int x0 = std::max(dest_rect.left, 0), x1 = std::min(dest_rect.right, dest.Width());
  const int y0 = std::max(dest_rect.top, 0), y1 = std::min(dest_rect.bottom, dest.Height());
  // Source coordinate of destination column x: left + (x - dest left) × sw / dw.
  const auto source_x = [&](int x) {
    return source_rect.left + static_cast<int>(static_cast<std::int64_t>(x - dest_rect.left) * sw / dw);
  };
  const auto source_y = [&](int y) {
    return source_rect.top + static_cast<int>(static_cast<std::int64_t>(y - dest_rect.top) * sh / dh);
  };
  const bool unscaled = dw == sw && dh == sh;
  for (int y = y0; y < y1; ++y) {
    const int sy = source_y(y);
    if (sy < 0 || sy >= source.Height()) continue;
    std::uint8_t* d = dest.Row(y);
    const std::uint8_t* s = source.Row(sy);
    const std::uint8_t* m = mask != nullptr ? mask->Row(sy) : nullptr;
    if (unscaled) {
      // Clip the run to the source as well.
      const int first = std::max(x0, dest_rect.left - source_rect.left);
      const int last = std::min(x1, dest_rect.left - source_rect.left + source.Width());
      if (first >= last) continue;
      const int sx = source_x(first);
      if (m == nullptr)
        std::memcpy(d + 3 * first, s + 3 * sx, 3 * static_cast<std::size_t>(last - first));
      else CopyMaskedRow(d + 3 * first, s + 3 * sx, m, sx, last - first);
      continue;
    }
    for (int x = x0; x < x1; ++x) {
      const int sx = source_x(x);
      if (sx < 0 || sx >= source.Width() || (m != nullptr && MaskBit(m, sx))) continue;
      std::memcpy(d + 3 * x, s + 3 * sx, 3);
    }
  }
}

void CopyBlit(PixelImage& dest, int x, int y, const PixelImage& source) {
  const TRect all{0, 0, source.Width(), source.Height()};
  StretchBlit(dest, TRect{x, y, x + source.Width(), y + source.Height()}, source, all, nullptr);
}

void FillRect(PixelImage& dest, const TRect& area, std::uint32_t rgb) {
  const int x0 = std::max(area.left, 0), x1 = std::min(area.right, dest.Width());
  const int y0 = std::max(area.top, 0), y1 = std::min(area.bottom, dest.Height());
  for (int y = y0; y < y1; ++y) {
    std::uint8_t* d = dest.Row(y);
    for (int x = x0; x < x1; ++x) {
      d[3 * x] = static_cast<std::uint8_t>(rgb);
      d[3 * x + 1] = static_cast<std::uint8_t>(rgb >> 8);
      d[3 * x + 2] = static_cast<std::uint8_t>(rgb >> 16);
    }
  }
}

}  // namespace tessival::imaging
