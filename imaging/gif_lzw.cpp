#include "imaging/gif_lzw.h"

#include <array>
#include <cstring>
#include <memory>

#include "imaging/gif_error.h"

namespace tessival::imaging {

namespace {

constexpr int kMaxCodeSize = 12;
constexpr int kTableSize = 1 << kMaxCodeSize;  // codes 0..4095

// Where decoded bytes go: reading order, rows in interlaced order when asked. A byte whose
// position lies outside the image is dropped.
class PixelSink {
 public:
  PixelSink(std::span<std::uint8_t> pixels, int width, int height, bool interlaced)
      : pixels_(pixels), width_(width), height_(height), interlaced_(interlaced) {}

  void Put(const std::uint8_t* bytes, int count) {
    if (!interlaced_) {
      const std::size_t room = position_ < pixels_.size() ? pixels_.size() - position_ : 0;
      std::memcpy(pixels_.data() + position_, bytes, std::min<std::size_t>(room, static_cast<std::size_t>(count)));
      position_ += static_cast<std::size_t>(count);
      return;
    }
    for (int i = 0; i < count; ++i) PutInterlaced(bytes[i]);
  }

 private:
  struct Pass { int start, step; };
  static constexpr Pass kPasses[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

  void PutInterlaced(std::uint8_t byte) {
    if (row_ < height_) pixels_[static_cast<std::size_t>(row_) * width_ + column_] = byte;
    if (++column_ < width_) return;
    column_ = 0;
    row_ += kPasses[pass_].step;
    // Past the last row the next pass starts; after the fourth the cycle begins again.
    while (row_ >= height_) {
      pass_ = (pass_ + 1) % 4;
      row_ = kPasses[pass_].start;
    }
  }

  std::span<std::uint8_t> pixels_;
  int width_, height_;
  bool interlaced_;
  std::size_t position_ = 0;
  int row_ = 0, column_ = 0, pass_ = 0;
};

// Codes are packed least-significant bit first. A code that would need bytes past the
// end of the data is not read: decoding ends there.
class CodeReader {
 public:
  explicit CodeReader(std::span<const std::uint8_t> data) : data_(data) {}
  bool Read(int size, int& code) {
    while (bits_ < size) {
      if (next_ >= data_.size()) return false;
      buffer_ |= std::uint32_t{data_[next_++]} << bits_;
      bits_ += 8;
    }
    code = static_cast<int>(buffer_ & ((1u << size) - 1));
    buffer_ >>= size;
    bits_ -= size;
    return true;
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t next_ = 0;
  std::uint32_t buffer_ = 0;
  int bits_ = 0;
};

struct StringTable {
  std::array<std::uint16_t, kTableSize> prefix{};
  std::array<std::uint8_t, kTableSize> suffix{};
  std::array<std::uint8_t, kTableSize> first{};
  std::array<std::uint16_t, kTableSize> length{};
};

}  // namespace

void DecodeGifLzw(std::span<const std::uint8_t> data, int min_code_size, int width, int height, bool interlaced,
                  std::span<std::uint8_t> pixels) {
  if (min_code_size < 0 || min_code_size + 1 > kMaxCodeSize) throw EInvalidGraphicOperation(GifError::InvalidLzwCodeSize);
  if (width <= 0 || height <= 0) return;
  const int clear = 1 << min_code_size;
  const int end = clear + 1;
  auto table = std::make_unique<StringTable>();
  for (int i = 0; i < clear; ++i) {
    table->suffix[static_cast<std::size_t>(i)] = table->first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    table->length[static_cast<std::size_t>(i)] = 1;
  }
  PixelSink sink(pixels, width, height, interlaced);
  CodeReader reader(data);
  std::array<std::uint8_t, kTableSize> string{};
  const auto output = [&](int code) {
    const int len = table->length[static_cast<std::size_t>(code)];
    for (int i = len - 1; i >= 0; --i) {
      string[static_cast<std::size_t>(i)] = table->suffix[static_cast<std::size_t>(code)];
      code = table->prefix[static_cast<std::size_t>(code)];
    }
    sink.Put(string.data(), len);
  };
  const auto add = [&](int& next_free, int prefix, std::uint8_t byte) {
    if (next_free >= kTableSize) return;  // full: nothing is added until the next clear code
    const auto slot = static_cast<std::size_t>(next_free++);
    table->prefix[slot] = static_cast<std::uint16_t>(prefix);
    table->suffix[slot] = byte;
    table->first[slot] = table->first[static_cast<std::size_t>(prefix)];
    table->length[slot] = static_cast<std::uint16_t>(table->length[static_cast<std::size_t>(prefix)] + 1);
  };

  int code_size = min_code_size + 1;
  int next_free = end + 1;
  int limit = 1 << code_size;
  const auto grow = [&] {
    if (next_free >= limit && code_size < kMaxCodeSize) {
      limit <<= 1;
      ++code_size;
    }
  };
  int code = 0;
  if (!reader.Read(code_size, code)) return;
  if (code != clear) throw EInvalidGraphicOperation(GifError::InvalidLzwData);
  int previous = code;
  while (code != end) {
    if (code == clear) {
      code_size = min_code_size + 1;
      next_free = end + 1;
      limit = 1 << code_size;
      do {
        if (!reader.Read(code_size, code)) return;
      } while (code == clear);
      if (code == end) throw EInvalidGraphicOperation(GifError::InvalidLzwData);
      if (code >= next_free) code = 0;
      output(code);
    } else if (code < next_free) {
      output(code);
      add(next_free, previous, table->first[static_cast<std::size_t>(code)]);
      grow();
    } else if (code == next_free) {
      const int before = next_free;
      add(next_free, previous, table->first[static_cast<std::size_t>(previous)]);
      grow();
      if (next_free == before) throw EInvalidGraphicOperation(GifError::InvalidLzwData);
      output(code);
    } else {
      throw EInvalidGraphicOperation(GifError::InvalidLzwData);
    }
    previous = code;
    if (!reader.Read(code_size, code)) return;
  }
}

}  // namespace tessival::imaging
