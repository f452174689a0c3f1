#include "imaging/pixel_image.h"

#include <cstring>
#include <utility>
#include <new>
#include <stdexcept>

namespace tessival::imaging {

void CheckImageSize(std::int64_t width, std::int64_t height) {
  if (width < 0 || height < 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
    throw std::length_error("image size out of range");
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxImagePixels)
    throw std::length_error("image too large");
}

std::size_t PixelImage::StrideFor(int width, int bits_per_pixel) {
  const std::uint64_t bits = static_cast<std::uint64_t>(width) * bits_per_pixel;
  return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

PixelImage::PixelImage(int width, int height, int bits_per_pixel, RowOrder order)
    : width_(width), height_(height), bits_per_pixel_(bits_per_pixel), order_(order) {
  switch (bits_per_pixel) {
    case 1:
    case 4:
    case 8:
    case 24:
    case 32: break;
    default: throw std::length_error("unsupported pixel format");
  }
  CheckImageSize(width, height);
  stride_ = StrideFor(width, bits_per_pixel);
  size_ = stride_ * static_cast<std::size_t>(height);
  if (size_ > kMaxImageBytes) throw std::length_error("image too large");
  bits_.reset(static_cast<std::uint8_t*>(std::calloc(size_ == 0 ? 1 : size_, 1)));
  if (!bits_) throw std::bad_alloc();
}

PixelImage::PixelImage(const PixelImage& other)
    : width_(other.width_),
      height_(other.height_),
      bits_per_pixel_(other.bits_per_pixel_),
      stride_(other.stride_),
      order_(other.order_),
      size_(other.size_),
      palette_(other.palette_) {
  if (other.bits_) {
    bits_.reset(static_cast<std::uint8_t*>(std::malloc(size_ == 0 ? 1 : size_)));
    if (!bits_) throw std::bad_alloc();
    std::memcpy(bits_.get(), other.bits_.get(), size_);
  }
}

void PixelImage::Swap(PixelImage& other) noexcept {
  std::swap(width_, other.width_);
  std::swap(height_, other.height_);
  std::swap(bits_per_pixel_, other.bits_per_pixel_);
  std::swap(stride_, other.stride_);
  std::swap(order_, other.order_);
  std::swap(bits_, other.bits_);
  std::swap(size_, other.size_);
  std::swap(palette_, other.palette_);
}

PixelImage& PixelImage::operator=(const PixelImage& other) {
  if (this != &other) *this = PixelImage(other);
  return *this;
}

int PixelImage::IndexAt(int x, int y) const {
  const std::uint8_t* row = Row(y);
  switch (bits_per_pixel_) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    case 8: return row[x];
    default: return -1;
  }
}

void PixelImage::SetIndex(int x, int y, int index) {
  std::uint8_t* row = Row(y);
  switch (bits_per_pixel_) {
    case 1: {
      const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<std::uint8_t>(index & 1 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      break;
    }
    case 4: {
      const int shift = (x & 1) ? 0 : 4;
      row[x >> 1] = static_cast<std::uint8_t>((row[x >> 1] & ~(0x0F << shift)) |
                                              ((index & 0x0F) << shift));
      break;
    }
    case 8: row[x] = static_cast<std::uint8_t>(index); break;
    default: break;
  }
}

std::uint32_t PixelImage::ColorAt(int x, int y) const {
  if (bits_per_pixel_ >= 24) {
    const std::uint8_t* p = Row(y) + static_cast<std::size_t>(x) * (bits_per_pixel_ / 8);
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
  }
  const int index = IndexAt(x, y);
  if (index < 0 || static_cast<std::size_t>(index) >= palette_.size()) return 0;
  const PaletteEntry& e = palette_[static_cast<std::size_t>(index)];
  return (std::uint32_t{e.red} << 16) | (std::uint32_t{e.green} << 8) | e.blue;
}

}  // namespace tessival::imaging
