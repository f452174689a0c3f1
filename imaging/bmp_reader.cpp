// Bitmap file layout (all numbers little-endian):
//
//   offset  size  field
//   0       2     "BM"
//   10      4     offset of the pixel bits
//   14      4     header size: 12 (core), 40, 52, 56, 64, 108, 124
//   core:   18 width (2), 20 height (2), 22 planes (2), 24 bits (2); colour table of
//           3-byte blue, green, red entries
//   40+:    18 width (4), 22 height (4, negative = rows top-down), 26 planes, 28 bits,
//           30 compression (0 none, 1 RLE8, 2 RLE4, 3 bit fields), 46 colours used;
//           masks red, green, blue at 54 (after a 40-byte header) or inside a longer
//           header; colour table of 4-byte blue, green, red, 0 entries
#include "imaging/bmp_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>

namespace tessival::imaging {
namespace {

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;

// Every read is checked against the end of the data.
class BoundedReader {
 public:
  explicit BoundedReader(std::span<const std::uint8_t> data) : data_(data) {}
  std::uint32_t U16(std::size_t at) const {
    Need(at, 2);
    return data_[at] | (std::uint32_t{data_[at + 1]} << 8);
  }
  std::uint32_t U32(std::size_t at) const {
    Need(at, 4);
    return U16(at) | (U16(at + 2) << 16);
  }
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  void Need(std::size_t at, std::size_t count) const {
    if (at > data_.size() || count > data_.size() - at) throw EBmpError("bitmap data ends early");
  }
  std::span<const std::uint8_t> data() const { return data_; }

 private:
  std::span<const std::uint8_t> data_;
};

struct Header {
  std::uint32_t header_size = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: top-down rows
  int bits = 0;
  std::uint32_t compression = kRgb;
  std::uint32_t colors_used = 0;
  std::uint32_t masks[3] = {0, 0, 0};
  std::size_t palette_at = 0;
  int palette_entry_size = 4;
};

Header ReadHeader(const BoundedReader& in) {
  if (in.U16(0) != ('B' | ('M' << 8))) throw EBmpError("not a bitmap file");
  Header h;
  h.header_size = in.U32(kFileHeaderSize);
  const std::size_t at = kFileHeaderSize;
  if (h.header_size == kCoreHeaderSize) {
    h.width = in.U16(at + 4);
    h.height = in.U16(at + 6);
    h.bits = static_cast<int>(in.U16(at + 10));
    h.palette_entry_size = 3;
  } else if (h.header_size >= kInfoHeaderSize) {
    h.width = in.I32(at + 4);
    h.height = in.I32(at + 8);
    h.bits = static_cast<int>(in.U16(at + 14));
    h.compression = in.U32(at + 16);
    h.colors_used = in.U32(at + 32);
  } else {
    throw EBmpError("unknown bitmap header");
  }
  h.palette_at = at + h.header_size;
  if (h.compression == kBitFields) {
    // A 40-byte header is followed by the three masks; longer ones hold them.
    for (int i = 0; i < 3; ++i)
      h.masks[i] = in.U32(at + kInfoHeaderSize + 4 * static_cast<std::size_t>(i));
    if (h.header_size == kInfoHeaderSize) h.palette_at += 12;
  }
  return h;
}

void CheckHeader(const Header& h) {
  if (h.width <= 0 || h.height == 0 || h.height == std::numeric_limits<std::int32_t>::min())
    throw EBmpError("bad bitmap size");
  const bool known_bits = h.bits == 1 || h.bits == 4 || h.bits == 8 || h.bits == 16 || h.bits == 24 ||
                          h.bits == 32;
  if (!known_bits) throw EBmpError("unsupported bit count");
  const bool fits = (h.compression == kRgb) || (h.compression == kRle8 && h.bits == 8) ||
                    (h.compression == kRle4 && h.bits == 4) ||
                    (h.compression == kBitFields && (h.bits == 16 || h.bits == 32));
  if (!fits) throw EBmpError("unsupported bitmap compression");
  CheckImageSize(h.width, h.height < 0 ? -h.height : h.height);
}

Palette ReadPalette(const BoundedReader& in, const Header& h) {
  const std::size_t max_entries = std::size_t{1} << h.bits;
  std::size_t count = h.colors_used != 0 ? std::min<std::size_t>(h.colors_used, max_entries)
                                         : max_entries;
  // A table cut short by the pixel bits or the end of the file keeps what is there; the
  // indexes past it read black.
  const std::size_t available = (in.data().size() - std::min(in.data().size(), h.palette_at)) /
                                static_cast<std::size_t>(h.palette_entry_size);
  count = std::min(count, available);
  Palette palette(max_entries);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = in.data().data() + h.palette_at +
                            i * static_cast<std::size_t>(h.palette_entry_size);
    palette[i] = PaletteEntry{p[2], p[1], p[0], 0};
  }
  return palette;
}

std::size_t PixelOffset(const BoundedReader& in, const Header& h) {
  const std::uint32_t given = in.U32(10);
  std::size_t table = 0;
  if (h.bits <= 8) {
    const std::size_t entries = h.colors_used != 0 ? h.colors_used : (std::size_t{1} << h.bits);
    table = std::min<std::size_t>(entries, 256) * static_cast<std::size_t>(h.palette_entry_size);
  }
  // Writers that leave the offset 0 (or point it into the headers) are common: the bits then
  // follow the colour table.
  if (given < h.palette_at || given >= in.data().size()) return h.palette_at + table;
  return given;
}

// One mask's shift and width, so a channel scales to 8 bits.
struct Channel {
  int shift = 0;
  int width = 0;
  std::uint8_t Of(std::uint32_t pixel, std::uint32_t mask) const {
    if (width == 0) return 0;
    const std::uint32_t value = (pixel & mask) >> shift;
    const std::uint32_t max = (width >= 32) ? 0xFFFFFFFFu : ((1u << width) - 1);
    return static_cast<std::uint8_t>((std::uint64_t{value} * 255 + max / 2) / max);
  }
};

Channel ChannelOf(std::uint32_t mask) {
  if (mask == 0) return {};
  return Channel{std::countr_zero(mask), std::popcount(mask)};
}

void ReadUncompressed(const BoundedReader& in, const Header& h, std::size_t offset, PixelImage& out) {
  const int width = static_cast<int>(h.width);
  const int height = out.Height();
  const std::size_t stride = PixelImage::StrideFor(width, h.bits);
  in.Need(offset, stride * static_cast<std::size_t>(height));
  const bool top_down = h.height < 0;
  std::uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
  if (h.compression != kBitFields) {
    if (h.bits == 16) {
      masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    } else {
      masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
    }
  }
  const Channel red = ChannelOf(masks[0]), green = ChannelOf(masks[1]), blue = ChannelOf(masks[2]);
  for (int y = 0; y < height; ++y) {
    const int source_row = top_down ? y : height - 1 - y;
    const std::uint8_t* src = in.data().data() + offset + stride * static_cast<std::size_t>(source_row);
    std::uint8_t* dst = out.Row(y);
    if (h.bits <= 8 || h.bits == 24) {
      std::memcpy(dst, src, std::min(stride, out.Stride()));
      continue;
    }
    const int bytes = h.bits / 8;
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = src + static_cast<std::size_t>(x) * static_cast<std::size_t>(bytes);
      const std::uint32_t pixel = bytes == 2
                                      ? (p[0] | (std::uint32_t{p[1]} << 8))
                                      : (p[0] | (std::uint32_t{p[1]} << 8) |
                                         (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24));
      dst[3 * x] = blue.Of(pixel, masks[2]);
      dst[3 * x + 1] = green.Of(pixel, masks[1]);
      dst[3 * x + 2] = red.Of(pixel, masks[0]);
    }
  }
}

// Run-length data: (count, index) pairs, or 0 followed by 0 (end of line), 1 (end of
// picture), 2 (move by dx, dy) or n >= 3 (n literal indexes, padded to 2 bytes). Pixels the
// runs never reach stay index 0. Rows count from the bottom.
void ReadRunLength(const BoundedReader& in, const Header& h, std::size_t offset, PixelImage& out) {
  const bool four = h.compression == kRle4;
  const int width = out.Width();
  const int height = out.Height();
  const std::span<const std::uint8_t> data = in.data();
  std::size_t at = offset;
  int x = 0, row = 0;  // row counted from the bottom
  const auto put = [&](int index) {
    if (x < width && row < height) out.SetIndex(x, height - 1 - row, index);
    ++x;
  };
  while (at + 1 < data.size() && row < height) {
    const int count = data[at];
    const int value = data[at + 1];
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < width; ++i)
        put(four ? ((i & 1) ? value & 0x0F : value >> 4) : value);
      continue;
    }
    if (value == 0) {
      x = 0, ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (at + 1 >= data.size()) break;
      x += data[at], row += data[at + 1];
      at += 2;
    } else {
      const std::size_t bytes = four ? (static_cast<std::size_t>(value) + 1) / 2
                                     : static_cast<std::size_t>(value);
      if (at + bytes > data.size()) break;
      for (int i = 0; i < value; ++i) {
        const std::uint8_t b = data[at + static_cast<std::size_t>(four ? i / 2 : i)];
        put(four ? ((i & 1) ? b & 0x0F : b >> 4) : b);
      }
      at += (bytes + 1) & ~std::size_t{1};
    }
  }
}

}  // namespace

PixelImage ReadBmp(std::span<const std::uint8_t> data) {
  const BoundedReader in(data);
  const Header h = ReadHeader(in);
  CheckHeader(h);
  const int width = static_cast<int>(h.width);
  const int height = static_cast<int>(h.height < 0 ? -h.height : h.height);
  const int out_bits = h.bits <= 8 ? h.bits : 24;
  PixelImage out(width, height, out_bits, RowOrder::TopDown);
  if (h.bits <= 8) out.Colors() = ReadPalette(in, h);
  const std::size_t offset = PixelOffset(in, h);
  if (h.compression == kRle8 || h.compression == kRle4) {
    ReadRunLength(in, h, offset, out);
  } else {
    ReadUncompressed(in, h, offset, out);
  }
  return out;
}

}  // namespace tessival::imaging
