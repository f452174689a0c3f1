#pragma once
// Builds GIF files for the tests: a real LZW encoder (with the decoder's code-size rules
// mirrored) and the block structure around it.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tessival::imaging::test {

using GifBytes = std::vector<std::uint8_t>;

class LzwWriter {
 public:
  explicit LzwWriter(int min_code_size) : min_(min_code_size) {}

  // Encodes the indexes; `roots_only` writes every pixel as its own code (the table still
  // fills up and, unless `clear_when_full`, stays full).
  GifBytes Encode(const std::vector<std::uint8_t>& pixels, bool roots_only = false,
                  bool clear_when_full = true) {
    Reset();
    Emit(Clear());
    std::map<std::pair<int, int>, int> dict;
    int next_entry = Clear() + 2;
    int w = -1;
    for (std::uint8_t c : pixels) {
      if (w < 0) {
        w = c;
        continue;
      }
      const auto it = roots_only ? dict.end() : dict.find({w, c});
      if (it != dict.end()) {
        w = it->second;
        continue;
      }
      Emit(w);
      if (next_entry < 4096) {
        if (!roots_only) dict[{w, c}] = next_entry;
        ++next_entry;
      } else if (clear_when_full) {
        Emit(Clear());
        dict.clear();
        next_entry = Clear() + 2;
      }
      w = c;
    }
    if (w >= 0) Emit(w);
    Emit(Clear() + 1);
    if (bits_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_));
    return out_;
  }

 private:
  int Clear() const { return 1 << min_; }
  void Reset() {
    out_.clear();
    acc_ = 0;
    bits_ = 0;
    size_ = min_ + 1;
    next_free_ = Clear() + 2;
    first_ = true;
  }
  // Writes with the size the decoder will read with, then advances the decoder's view.
  void Emit(int code) {
    acc_ |= static_cast<std::uint32_t>(code) << bits_;
    bits_ += size_;
    while (bits_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(acc_));
      acc_ >>= 8;
      bits_ -= 8;
    }
    if (code == Clear()) {
      size_ = min_ + 1;
      next_free_ = Clear() + 2;
      first_ = true;
    } else if (first_) {
      first_ = false;
    } else if (next_free_ < 4096) {
      ++next_free_;
      if (next_free_ >= (1 << size_) && size_ < 12) ++size_;
    }
  }
  int min_;
  int size_ = 0;
  int next_free_ = 0;
  bool first_ = true;
  std::uint32_t acc_ = 0;
  int bits_ = 0;
  GifBytes out_;
};

struct GifFrameSpec {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint8_t> pixels;        // row-major, reading order unless interlaced
  std::vector<std::uint32_t> local_table;  // 0xRRGGBB; empty = global
  bool interlaced = false;
  int disposal = 0;
  int delay = 0;
  int transparent = -1;
  bool graphic_control = true;
};

inline void Word(GifBytes& out, int v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline int TableBits(std::size_t entries) {
  int bits = 1;
  while ((1u << bits) < entries) ++bits;
  return bits;
}

inline void Table(GifBytes& out, const std::vector<std::uint32_t>& colours) {
  const std::size_t size = std::size_t{1} << TableBits(colours.size());
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint32_t c = i < colours.size() ? colours[i] : 0;
    out.insert(out.end(), {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                           static_cast<std::uint8_t>(c)});
  }
}

inline void SubBlocks(GifBytes& out, const GifBytes& data) {
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
               data.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  out.push_back(0);
}

// Rows of a frame in the order an interlaced file stores them.
inline std::vector<std::uint8_t> InterlaceRows(const GifFrameSpec& f) {
  std::vector<std::uint8_t> out;
  for (const auto& [start, step] : {std::pair{0, 8}, std::pair{4, 8}, std::pair{2, 4}, std::pair{1, 2}})
    for (int y = start; y < f.height; y += step)
      out.insert(out.end(), f.pixels.begin() + y * f.width, f.pixels.begin() + (y + 1) * f.width);
  return out;
}

inline GifBytes FrameBlocks(const GifFrameSpec& f, int global_bits) {
  GifBytes out;
  if (f.graphic_control) {
    out.insert(out.end(), {0x21, 0xF9, 4});
    out.push_back(static_cast<std::uint8_t>((f.disposal << 2) | (f.transparent >= 0 ? 1 : 0)));
    Word(out, f.delay);
    out.push_back(static_cast<std::uint8_t>(f.transparent >= 0 ? f.transparent : 0));
    out.push_back(0);
  }
  out.push_back(0x2C);
  Word(out, f.left);
  Word(out, f.top);
  Word(out, f.width);
  Word(out, f.height);
  const int bits = f.local_table.empty() ? global_bits : TableBits(f.local_table.size());
  out.push_back(static_cast<std::uint8_t>((f.local_table.empty() ? 0 : 0x80 | (bits - 1)) |
                                          (f.interlaced ? 0x40 : 0)));
  if (!f.local_table.empty()) Table(out, f.local_table);
  const int min_code = std::max(2, bits);
  out.push_back(static_cast<std::uint8_t>(min_code));
  SubBlocks(out, LzwWriter(min_code).Encode(f.interlaced ? InterlaceRows(f) : f.pixels));
  return out;
}

inline GifBytes LoopExtension(int loops) {
  GifBytes out{0x21, 0xFF, 11};
  for (char c : std::string("NETSCAPE2.0")) out.push_back(static_cast<std::uint8_t>(c));
  out.insert(out.end(),
             {3, 1, static_cast<std::uint8_t>(loops), static_cast<std::uint8_t>(loops >> 8), 0});
  return out;
}

inline GifBytes MakeGif(int width, int height, const std::vector<std::uint32_t>& global,
                        const std::vector<GifFrameSpec>& frames, const GifBytes& after_screen = {},
                        const std::string& signature = "GIF89a") {
  GifBytes out(signature.begin(), signature.end());
  Word(out, width);
  Word(out, height);
  const int bits = global.empty() ? 1 : TableBits(global.size());
  out.push_back(static_cast<std::uint8_t>(global.empty() ? 0 : 0x80 | (bits - 1)));
  out.insert(out.end(), {0, 0});
  if (!global.empty()) Table(out, global);
  out.insert(out.end(), after_screen.begin(), after_screen.end());
  for (const GifFrameSpec& f : frames) {
    const GifBytes blocks = FrameBlocks(f, bits);
    out.insert(out.end(), blocks.begin(), blocks.end());
  }
  out.push_back(0x3B);
  return out;
}

// A frame of one index everywhere.
inline GifFrameSpec Solid(int left, int top, int w, int h, std::uint8_t index, int disposal = 0) {
  GifFrameSpec f;
  f.left = left;
  f.top = top;
  f.width = w;
  f.height = h;
  f.pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), index);
  f.disposal = disposal;
  return f;
}

}  // namespace tessival::imaging::test
