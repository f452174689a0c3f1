#include "imaging/png_pixels.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "imaging/png_error.h"
#include "imaging/png_filters.h"

namespace tessival::imaging {

namespace {

bool ValidDepth(int color_type, int depth) {
  switch (color_type) {
    case 0: return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:
    case 4:
    case 6: return depth == 8 || depth == 16;
    default: return false;
  }
}

// Inflates the concatenated image data and hands it out row by row, in place: a row stays
// where it was inflated and is unfiltered there, and the row before it stays too, for the
// filters that look up. The zlib header is checked here and the rest is inflated raw:
// every chunk's CRC already vouches for the bytes, so the Adler-32 pass over the output
// would only cost time. The data is inflated ahead into a block of at least kBlockBytes,
// not a row at a time: zlib's fast loop only runs while at least 258 bytes of room are
// left, so filling single rows would send the end of every row through its slow loop, and
// zlib copies up to the last 32 KiB of every call's output into its own window, which for
// single rows is all of it. A fault in the data is reported when a row needs the bytes
// behind it, as it would be when inflating row by row.
class RowInflater {
 public:
  explicit RowInflater(std::span<const std::uint8_t> data) {
    if (data.size() < 2 || (data[0] & 0x0F) != 8 || (data[0] >> 4) > 7 || (data[1] & 0x20) != 0 ||
        ((data[0] << 8) | data[1]) % 31 != 0)
      throw EPNGImageException("The image data is not a valid zlib stream.");
    if (inflateInit2(&stream_, -15) != Z_OK) throw std::bad_alloc();
    stream_.next_in = const_cast<Bytef*>(data.data() + 2);
    stream_.avail_in = static_cast<uInt>(std::min<std::size_t>(data.size() - 2, 0xFFFFFFFFu));
  }
  ~RowInflater() { inflateEnd(&stream_); }
  RowInflater(const RowInflater&) = delete;
  RowInflater& operator=(const RowInflater&) = delete;

  // The next `count` bytes, writable; they and the row handed out before them stay put
  // until the next call.
  std::uint8_t* Next(std::size_t count) {
    if (filled_ - next_ < count) Fill(count);
    before_last_ = last_;
    last_ = next_;
    next_ += count;
    return block_.data() + last_;
  }
  // The row handed out before the last one.
  const std::uint8_t* Previous() const { return block_.data() + before_last_; }

 private:
  static constexpr std::size_t kBlockBytes = 256 * 1024;

  // Moves the last row and the bytes not handed out yet to the front and inflates behind
  // them until the block is full; fails with the reason the stream stopped when the next
  // `count` bytes are still not there.
  void Fill(std::size_t count) {
    if (filled_ > last_) std::memmove(block_.data(), block_.data() + last_, filled_ - last_);
    filled_ -= last_;
    next_ -= last_;
    last_ = 0;
    if (block_.size() < 2 * (filled_ + count))
      block_.resize(std::max(kBlockBytes, 2 * (filled_ + count)));
    stream_.next_out = block_.data() + filled_;
    stream_.avail_out = static_cast<uInt>(block_.size() - filled_);
    while (stream_.avail_out > 0 && failure_ == nullptr) {
      const int result = inflate(&stream_, Z_NO_FLUSH);
      if (result == Z_STREAM_END || result == Z_BUF_ERROR) failure_ = "the image data ends early";
      else if (result != Z_OK) failure_ = stream_.msg != nullptr ? stream_.msg : "inflate failed";
    }
    filled_ = block_.size() - stream_.avail_out;
    if (filled_ - next_ < count) Fail(failure_);
  }
  [[noreturn]] static void Fail(const char* why) {
    throw EPNGImageException(std::string(png_text::kCorruptedData) + "(" + why + ")");
  }

  z_stream stream_{};
  std::vector<std::uint8_t> block_;
  std::size_t before_last_ = 0;    // where the row before the last one starts
  std::size_t last_ = 0;           // where the last row handed out starts
  std::size_t next_ = 0;           // the first byte not handed out
  std::size_t filled_ = 0;         // the end of the inflated bytes
  const char* failure_ = nullptr;  // why the stream gives no more, once it does not
};

// The next row of `bytes` bytes after its filter byte, unfiltered in place; the first row
// of an image or pass has no row above it.
std::uint8_t* NextRow(RowInflater& inflater, std::size_t bytes, bool first, std::size_t filter_bpp) {
  std::uint8_t* row = inflater.Next(bytes + 1);
  UnfilterRow(row[0], row + 1, first ? nullptr : inflater.Previous() + 1, bytes, filter_bpp);
  return row + 1;
}

// Converts one unfiltered row of samples into bitmap row `out` for the non-interlaced case.
void ConvertRow(const PngLayout& l, const std::uint8_t* src, std::size_t src_bytes,
                const std::uint8_t* gamma, std::uint8_t* out) {
  const int w = l.width;
  if (l.bitmap_bits == 24) {
    const std::size_t step = static_cast<std::size_t>(l.channels) * (l.bit_depth / 8);
    const std::size_t hi = l.bit_depth == 16 ? 2 : 1;  // distance between the samples' high bytes
    if (gamma == nullptr && step == 3 && std::endian::native == std::endian::little) {
      // Red, green, blue to blue, green, red four bytes at a time: the byte after each
      // pixel is read along and its place written, then rewritten by the next pixel. The
      // last pixel goes alone, as the rows end there.
      for (int x = 1; x < w; ++x, src += 3, out += 3) {
        std::uint32_t rgb;
        std::memcpy(&rgb, src, 4);
        const std::uint32_t bgr = __builtin_bswap32(rgb) >> 8;
        std::memcpy(out, &bgr, 4);
      }
      out[0] = src[2];
      out[1] = src[1];
      out[2] = src[0];
    } else if (gamma == nullptr) {
      for (int x = 0; x < w; ++x, src += step, out += 3) {
        out[0] = src[2 * hi];
        out[1] = src[hi];
        out[2] = src[0];
      }
    } else {
      for (int x = 0; x < w; ++x, src += step, out += 3) {
        out[0] = gamma[src[2 * hi]];
        out[1] = gamma[src[hi]];
        out[2] = gamma[src[0]];
      }
    }
    return;
  }
  if (l.bit_depth == 2) {
    // Four 2-bit samples per byte become two bytes of 4-bit values 5v.
    for (int x = 0; x < w; ++x) {
      const int v = (src[x >> 2] >> (6 - 2 * (x & 3))) & 3;
      std::uint8_t& d = out[x >> 1];
      d = static_cast<std::uint8_t>((x & 1) ? (d & 0xF0) | (5 * v) : (5 * v) << 4);
    }
    return;
  }
  if (l.bit_depth < 8 || (l.bit_depth == 8 && l.channels == 1)) {
    std::memcpy(out, src, src_bytes);
    return;
  }
  // Grey at depth 16, grey with alpha at 8 or 16: the (high byte of the) first sample.
  const std::size_t step = static_cast<std::size_t>(l.channels) * (l.bit_depth / 8);
  for (int x = 0; x < w; ++x, src += step) out[x] = src[0];
}

// Places pixel k of an interlaced pass row at column x of bitmap row `out`.
void PlacePixel(const PngLayout& l, const std::uint8_t* src, int k, const std::uint8_t* gamma,
                std::uint8_t* out, int x) {
  if (l.bitmap_bits == 24) {
    const std::size_t hi = l.bit_depth == 16 ? 2 : 1;
    const std::uint8_t* p = src + static_cast<std::size_t>(k) * l.channels * (l.bit_depth / 8);
    std::uint8_t* d = out + static_cast<std::size_t>(x) * 3;
    d[0] = gamma ? gamma[p[2 * hi]] : p[2 * hi];
    d[1] = gamma ? gamma[p[hi]] : p[hi];
    d[2] = gamma ? gamma[p[0]] : p[0];
    return;
  }
  if (l.bit_depth >= 8) {
    out[x] = src[static_cast<std::size_t>(k) * l.channels * (l.bit_depth / 8)];
    return;
  }
  const int per_byte = 8 / l.bit_depth;
  const int shift = 8 - l.bit_depth * (1 + k % per_byte);
  const int v = (src[k / per_byte] >> shift) & ((1 << l.bit_depth) - 1);
  if (l.bit_depth == 1) {
    const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
    out[x >> 3] = static_cast<std::uint8_t>(v ? out[x >> 3] | bit : out[x >> 3] & ~bit);
  } else {
    const int value = l.bit_depth == 2 ? 5 * v : v;
    const int dshift = (x & 1) ? 0 : 4;
    out[x >> 1] = static_cast<std::uint8_t>((out[x >> 1] & ~(0x0F << dshift)) | (value << dshift));
  }
}

// Indexed row (1, 4 or 8 bits per pixel) to blue, green, red through the palette.
void ExpandRow(const std::uint8_t* indexed, int bits, int width, const Palette& palette,
               std::uint8_t* out) {
  for (int x = 0; x < width; ++x, out += 3) {
    int index;
    if (bits == 8) index = indexed[x];
    else if (bits == 4) index = (indexed[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    else index = (indexed[x >> 3] >> (7 - (x & 7))) & 1;
    const PaletteEntry& e = palette[static_cast<std::size_t>(index)];
    out[0] = e.blue;
    out[1] = e.green;
    out[2] = e.red;
  }
}

struct Adam7Pass {
  int row0, col0, row_step, col_step;
};
constexpr Adam7Pass kPasses[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                                  {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};

int PassExtent(int size, int start, int step) {
  return size > start ? (size - start + step - 1) / step : 0;
}

}  // namespace

PngLayout MakePngLayout(std::uint32_t width, std::uint32_t height, int bit_depth, int color_type,
                        int interlace) {
  if (!ValidDepth(color_type, bit_depth)) throw EPNGImageException(png_text::kUnknownColorType);
  if (interlace != 0 && interlace != 1) throw EPNGImageException(png_text::kUnknownInterlace);
  try {
    CheckImageSize(width, height);
  } catch (const std::length_error&) {
    throw EPNGImageException(png_text::kTooLarge);
  }
  PngLayout l;
  l.width = static_cast<int>(width);
  l.height = static_cast<int>(height);
  l.bit_depth = bit_depth;
  l.color_type = color_type;
  l.interlaced = interlace == 1;
  l.channels = color_type == 2 ? 3 : color_type == 4 ? 2 : color_type == 6 ? 4 : 1;
  l.filter_bpp = std::max<std::size_t>(1, static_cast<std::size_t>(bit_depth * l.channels / 8));
  if (color_type == 2 || color_type == 6) l.bitmap_bits = 24;
  else l.bitmap_bits = bit_depth == 1 ? 1 : bit_depth < 8 ? 4 : 8;
  return l;
}

std::size_t PngRowBytes(const PngLayout& l, std::uint32_t width) {
  return (std::size_t{width} * static_cast<std::size_t>(l.channels * l.bit_depth) + 7) / 8;
}

void DecodePngPixels(const PngLayout& l, std::span<const std::uint8_t> zlib_data,
                     const std::uint8_t* gamma, PixelImage& bitmap, const PngRowProgress& progress,
                     const Palette* expand) {
  if (l.width == 0 || l.height == 0) return;
  if (expand != nullptr && l.bitmap_bits <= 8) {
    if (l.interlaced) {
      PixelImage indexed(l.width, l.height, l.bitmap_bits);
      DecodePngPixels(l, zlib_data, gamma, indexed, progress);
      for (int y = 0; y < l.height; ++y)
        ExpandRow(indexed.Row(y), l.bitmap_bits, l.width, *expand, bitmap.Row(y));
      return;
    }
    // Row by row through a one-row indexed buffer, while the row is still in cache.
    PixelImage row(l.width, 1, l.bitmap_bits);
    RowInflater inflater(zlib_data);
    const std::size_t bytes = PngRowBytes(l, static_cast<std::uint32_t>(l.width));
    for (int y = 0; y < l.height; ++y) {
      ConvertRow(l, NextRow(inflater, bytes, y == 0, l.filter_bpp), bytes, gamma, row.Row(0));
      ExpandRow(row.Row(0), l.bitmap_bits, l.width, *expand, bitmap.Row(y));
      if (progress) progress(static_cast<int>(std::int64_t{y} * 100 / l.height), y, y + 1);
    }
    return;
  }
  RowInflater inflater(zlib_data);
  const std::size_t full_bytes = PngRowBytes(l, static_cast<std::uint32_t>(l.width));
  if (!l.interlaced) {
    for (int y = 0; y < l.height; ++y) {
      ConvertRow(l, NextRow(inflater, full_bytes, y == 0, l.filter_bpp), full_bytes, gamma,
                 bitmap.Row(y));
      if (progress) progress(static_cast<int>(std::int64_t{y} * 100 / l.height), y, y + 1);
    }
    return;
  }
  for (int pass = 0; pass < 7; ++pass) {
    const Adam7Pass& p = kPasses[pass];
    const int pass_width = PassExtent(l.width, p.col0, p.col_step);
    const int pass_height = PassExtent(l.height, p.row0, p.row_step);
    if (pass_width > 0 && pass_height > 0) {
      const std::size_t bytes = PngRowBytes(l, static_cast<std::uint32_t>(pass_width));
      for (int j = 0; j < pass_height; ++j) {
        const std::uint8_t* row = NextRow(inflater, bytes, j == 0, l.filter_bpp);
        std::uint8_t* out = bitmap.Row(p.row0 + j * p.row_step);
        for (int k = 0; k < pass_width; ++k) PlacePixel(l, row, k, gamma, out, p.col0 + k * p.col_step);
      }
    }
    if (progress) progress((100 * pass + 3) / 6, 0, l.height);  // MulDiv(100, pass, 6)
  }
}

}  // namespace tessival::imaging
