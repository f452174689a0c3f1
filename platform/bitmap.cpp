#include "platform/bitmap.h"

#include <string>

namespace tessival::platform {
namespace {

// The 16 colours of the system palette that a 4-bit table can hold.
const TPalette& SixteenColourPalette() {
  static const TPalette palette = [] {
    std::vector<PaletteEntry> entries;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 12, 13, 14, 15, 16, 17, 18, 19}) {
      entries.push_back(SystemPalette().Entry(i));
    }
    return TPalette(std::move(entries));
  }();
  return palette;
}

const TPalette& DefaultPaletteFor(PixelFormat format) {
  static const TPalette none;
  switch (format) {
    case PixelFormat::pf1bit: return MonochromePalette();
    case PixelFormat::pf4bit: return SixteenColourPalette();
    case PixelFormat::pf8bit: return SystemPalette();
    default: return none;
  }
}

}  // namespace

int TBitmap::RowBytesFor(int width, PixelFormat format) {
  const long long bits = static_cast<long long>(static_cast<int>(format)) * width;
  return static_cast<int>((bits + 31) / 32 * 4);
}

TBitmap::TBitmap(int width, int height, PixelFormat format) { SetSize(width, height, format); }

void TBitmap::SetSize(int width, int height, PixelFormat format) {
  if (width < 0 || height < 0 || width > (1 << 24) || height > (1 << 24)) {
    throw EOutOfResources("Invalid bitmap size " + std::to_string(width) + " x " +
                          std::to_string(height));
  }
  const long long row = RowBytesFor(width, format);
  if (height != 0 && static_cast<unsigned long long>(row) * height > MaxBitmapBytes) {
    throw EOutOfResources("Out of Resources");
  }
  width_ = width;
  height_ = height;
  format_ = format;
  row_bytes_ = static_cast<int>(row);
  bits_.assign(static_cast<std::size_t>(row) * static_cast<std::size_t>(height), 0);
  palette_ = DefaultPaletteFor(format);
}

void TBitmap::SetPalette(const TPalette& palette) {
  if (!IsIndexed()) return;
  // A table never holds more entries than the pixels can address.
  std::vector<PaletteEntry> entries = palette.Entries();
  if (entries.size() > (std::size_t{1} << BitsPerPixel()))
    entries.resize(std::size_t{1} << BitsPerPixel());
  palette_ = TPalette(std::move(entries));
}

std::uint8_t* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= height_) throw std::out_of_range("Scan line index out of range");
  return bits_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(row_bytes_);
}

const std::uint8_t* TBitmap::ScanLine(int y) const { return const_cast<TBitmap*>(this)->ScanLine(y); }

std::uint32_t TBitmap::GetRaw(int x, int y) const {
  if (!Inside(x, y)) return 0;
  const std::uint8_t* row = bits_.data() + static_cast<std::size_t>(y) * row_bytes_;
  switch (format_) {
    case PixelFormat::pf1bit: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case PixelFormat::pf4bit: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case PixelFormat::pf8bit: return row[x];
    case PixelFormat::pf24bit: {
      const std::uint8_t* p = row + 3 * x;
      return RGB(p[2], p[1], p[0]);
    }
    case PixelFormat::pf32bit: {
      const std::uint8_t* p = row + 4 * x;
      return RGB(p[2], p[1], p[0]);
    }
  }
  return 0;
}

void TBitmap::SetRaw(int x, int y, std::uint32_t value) {
  if (!Inside(x, y)) return;
  std::uint8_t* row = bits_.data() + static_cast<std::size_t>(y) * row_bytes_;
  switch (format_) {
    case PixelFormat::pf1bit: {
      const auto bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = (value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit);
      return;
    }
    case PixelFormat::pf4bit: {
      std::uint8_t& byte = row[x >> 1];
      byte = (x & 1) ? ((byte & 0xF0) | (value & 0x0F)) : ((byte & 0x0F) | ((value & 0x0F) << 4));
      return;
    }
    case PixelFormat::pf8bit: row[x] = static_cast<std::uint8_t>(value); return;
    case PixelFormat::pf24bit:
    case PixelFormat::pf32bit: {
      std::uint8_t* p = row + (format_ == PixelFormat::pf24bit ? 3 : 4) * x;
      p[0] = static_cast<std::uint8_t>(GetBValue(value));
      p[1] = static_cast<std::uint8_t>(GetGValue(value));
      p[2] = static_cast<std::uint8_t>(GetRValue(value));
      return;
    }
  }
}

TColor TBitmap::GetPixel(int x, int y) const {
  const std::uint32_t raw = GetRaw(x, y);
  return IsIndexed() ? palette_.ColorAt(static_cast<int>(raw)) : raw;
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  const TColor plain = PlainColor(color);
  SetRaw(x, y, IsIndexed() ? static_cast<std::uint32_t>(palette_.NearestIndex(plain)) : plain);
}

void TBitmap::Fill(TColor color) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) SetPixel(x, y, color);
  }
}

TBitmap TBitmap::Converted(PixelFormat format, const TPalette* palette) const {
  TBitmap out(width_, height_, format);
  if (palette) out.SetPalette(*palette);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) out.SetPixel(x, y, GetPixel(x, y));
  }
  return out;
}

}  // namespace tessival::platform
