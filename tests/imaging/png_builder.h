#pragma once
// Builds PNG files for the tests from sample values: packs, filters (with the filter type
// given), compresses and frames them in chunks with correct CRCs.
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tessival::imaging::test {

using Bytes = std::vector<std::uint8_t>;

inline void PutU32(Bytes& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline Bytes Chunk(const std::string& type, const Bytes& data) {
  Bytes out;
  PutU32(out, static_cast<std::uint32_t>(data.size()));
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  PutU32(out, static_cast<std::uint32_t>(crc32(0, out.data() + 4, static_cast<uInt>(data.size() + 4))));
  return out;
}

inline Bytes Signature() { return {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}; }

inline Bytes Ihdr(std::uint32_t w, std::uint32_t h, int depth, int color_type, int interlace = 0) {
  Bytes d;
  PutU32(d, w);
  PutU32(d, h);
  d.insert(d.end(), {static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(color_type), 0, 0,
                     static_cast<std::uint8_t>(interlace)});
  return Chunk("IHDR", d);
}

inline int Channels(int color_type) {
  return color_type == 2 ? 3 : color_type == 4 ? 2 : color_type == 6 ? 4 : 1;
}

// A picture as sample values, `channels` per pixel, row-major.
struct Samples {
  int width = 0, height = 0, depth = 8, color_type = 0;
  std::vector<std::uint16_t> values;
  std::uint16_t At(int x, int y, int c) const {
    return values[(static_cast<std::size_t>(y) * width + x) * Channels(color_type) + c];
  }
};

inline std::uint8_t PaethRef(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Filters one packed row with `type` against the previous packed row (zeros when empty).
inline Bytes FilterRow(int type, const Bytes& row, const Bytes& prev, std::size_t bpp) {
  Bytes out{static_cast<std::uint8_t>(type)};
  for (std::size_t i = 0; i < row.size(); ++i) {
    const int a = i >= bpp ? row[i - bpp] : 0, b = prev.empty() ? 0 : prev[i];
    const int c = i >= bpp && !prev.empty() ? prev[i - bpp] : 0;
    int pred = 0;
    switch (type) {
      case 1: pred = a; break;
      case 2: pred = b; break;
      case 3: pred = (a + b) / 2; break;
      case 4: pred = PaethRef(a, b, c); break;
      default: break;
    }
    out.push_back(static_cast<std::uint8_t>(row[i] - pred));
  }
  return out;
}

// Packs the samples of the pixels (x0 + k·dx, y) for k = 0..count-1.
inline Bytes PackRow(const Samples& s, int y, int x0, int dx, int count) {
  Bytes out;
  int bits = 0, acc = 0;
  const int ch = Channels(s.color_type);
  for (int k = 0; k < count; ++k)
    for (int c = 0; c < ch; ++c) {
      const std::uint16_t v = s.At(x0 + k * dx, y, c);
      if (s.depth == 16) {
        out.push_back(static_cast<std::uint8_t>(v >> 8));
        out.push_back(static_cast<std::uint8_t>(v));
      } else if (s.depth == 8) {
        out.push_back(static_cast<std::uint8_t>(v));
      } else {
        acc = (acc << s.depth) | v;
        bits += s.depth;
        if (bits == 8) {
          out.push_back(static_cast<std::uint8_t>(acc));
          acc = bits = 0;
        }
      }
    }
  if (bits > 0) out.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
  return out;
}

// The filtered scanlines (all passes for Adam7), uncompressed. `filter` -1 cycles 0..4.
inline Bytes Scanlines(const Samples& s, bool interlaced, int filter) {
  struct Pass {
    int r0, c0, dr, dc;
  };
  const std::vector<Pass> passes = interlaced
                                       ? std::vector<Pass>{{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4},
                                                           {0, 2, 4, 4}, {2, 0, 4, 2}, {0, 1, 2, 2},
                                                           {1, 0, 2, 1}}
                                       : std::vector<Pass>{{0, 0, 1, 1}};
  const std::size_t bpp = std::max(1, s.depth * Channels(s.color_type) / 8);
  Bytes out;
  int row_number = 0;
  for (const Pass& p : passes) {
    const int count = s.width > p.c0 ? (s.width - p.c0 + p.dc - 1) / p.dc : 0;
    if (count == 0) continue;
    Bytes prev;
    for (int y = p.r0; y < s.height; y += p.dr) {
      const Bytes row = PackRow(s, y, p.c0, p.dc, count);
      const Bytes f = FilterRow(filter < 0 ? row_number++ % 5 : filter, row, prev, bpp);
      out.insert(out.end(), f.begin(), f.end());
      prev = row;
    }
  }
  return out;
}

inline Bytes Deflate(const Bytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes out(size);
  compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 6);
  out.resize(size);
  return out;
}

inline void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

inline Bytes operator+(Bytes a, const Bytes& b) {
  Append(a, b);
  return a;
}

// A complete file: signature, IHDR, `before` chunks, one IDAT, `after` chunks, IEND.
inline Bytes MakePng(const Samples& s, bool interlaced, int filter, const Bytes& before = {},
                     const Bytes& after = {}) {
  Bytes file = Signature();
  Append(file, Ihdr(static_cast<std::uint32_t>(s.width), static_cast<std::uint32_t>(s.height), s.depth,
                    s.color_type, interlaced ? 1 : 0));
  Append(file, before);
  Append(file, Chunk("IDAT", Deflate(Scanlines(s, interlaced, filter))));
  Append(file, after);
  Append(file, Chunk("IEND", {}));
  return file;
}

// Deterministic varied samples in range for the depth.
inline Samples Pattern(int w, int h, int depth, int color_type, int max_value = -1) {
  Samples s{w, h, depth, color_type, {}};
  const int ch = Channels(color_type);
  const std::uint32_t limit = max_value >= 0 ? static_cast<std::uint32_t>(max_value) + 1 : 1u << depth;
  std::uint32_t state = 12345;
  for (int i = 0; i < w * h * ch; ++i) {
    state = state * 1103515245u + 12345u;
    s.values.push_back(static_cast<std::uint16_t>((state >> 8) % limit));
  }
  return s;
}

}  // namespace tessival::imaging::test
