#include "imaging/gif_lzw.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "imaging/gif_error.h"

namespace tessival::imaging {

namespace {

constexpr int kMaxCodeSize = 12;
constexpr int kTableSize = 1 << kMaxCodeSize;  // codes 0..4095

// Codes are packed least-significant bit first. A code that would need bytes past the
// end of the data is not read: decoding ends there.
class CodeReader {
 public:
  explicit CodeReader(std::span<const std::uint8_t> data) : data_(data) {}
  bool Read(int size, int& code) {
    if (bits_ < size) {
      Refill();
      if (bits_ < size) return false;
    }
    code = static_cast<int>(buffer_ & ((1u << size) - 1));
    buffer_ >>= size;
    bits_ -= size;
    return true;
  }

 private:
  void Refill() {
    if (data_.size() - next_ >= 8) {
      // Bytes that do not fit whole are loaded again next time into the same bit
      // positions, so OR-ing them in early does no harm.
      std::uint64_t word;
      std::memcpy(&word, data_.data() + next_, 8);
      buffer_ |= word << bits_;
      const int take = (63 - bits_) >> 3;
      next_ += static_cast<std::size_t>(take);
      bits_ += take * 8;
      return;
    }
    while (bits_ <= 56 && next_ < data_.size()) {
      buffer_ |= std::uint64_t{data_[next_++]} << bits_;
      bits_ += 8;
    }
  }

  std::span<const std::uint8_t> data_;
  std::size_t next_ = 0;
  std::uint64_t buffer_ = 0;
  int bits_ = 0;
};

// Strings are copied 16 bytes at a time.
constexpr std::size_t kCopyWidth = 16;
// Room kept after a decoded picture: the longest string (a code stands for at most one byte
// more than there are table entries) plus the overshoot of its last copy. Once the picture is
// full, the remaining strings are written there, over and over, and dropped.
constexpr std::size_t kSlack = kTableSize + kCopyWidth;

// The strings of the root codes: the 256 byte values, with room for a whole copy after the
// last one. Codes of 256 and above (minimum code sizes of 8 to 11) stand for their low byte.
constexpr std::array<std::uint8_t, 256 + kCopyWidth> kRoots = [] {
  std::array<std::uint8_t, 256 + kCopyWidth> roots{};
  for (std::size_t i = 0; i < 256; ++i) roots[i] = static_cast<std::uint8_t>(i);
  return roots;
}();

// Copies a string that ends before the destination begins (or lies in kRoots). Each step
// loads 16 bytes before it stores them, and the source is at least 16 bytes behind whenever
// the string is longer, so no step reads what an earlier one wrote. The bytes written past
// the string are overwritten by the strings that follow. (In the room after a full picture
// source and destination may overlap; those bytes are dropped, and every read and write
// still stays inside the buffer.)
inline void CopyString(std::uint8_t* to, const std::uint8_t* from, std::size_t length) {
  std::size_t done = 0;
  do {
    std::uint8_t chunk[kCopyWidth];
    std::memcpy(chunk, from + done, kCopyWidth);
    std::memcpy(to + done, chunk, kCopyWidth);
    done += kCopyWidth;
  } while (done < length);
}

// Rows of an interlaced image arrive in four passes: rows 0, 8, 16 …, then 4, 12 …, then
// 2, 6 …, then 1, 3 ….
// Only the `decoded` first bytes of the reading order were written; later rows stay zero.
void Deinterlace(const std::vector<std::uint8_t>& reading_order, std::size_t decoded, int width,
                 int height, std::span<std::uint8_t> pixels) {
  constexpr int kStarts[4] = {0, 4, 2, 1};
  constexpr int kSteps[4] = {8, 8, 4, 2};
  const auto w = static_cast<std::size_t>(width);
  std::size_t row = 0;
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStarts[pass]; y < height && row * w < decoded; y += kSteps[pass], ++row)
      std::memcpy(pixels.data() + static_cast<std::size_t>(y) * w, reading_order.data() + row * w, w);
}

// Decodes into `out`, which has kSlack bytes of room after its `size`. Every string a table
// entry stands for has been written to the output before, so an entry is the place of that
// string and its length, and writing a code is one copy from there; the root codes copy from
// kRoots. Returns how many bytes of the picture were decoded.
std::size_t Decode(std::span<const std::uint8_t> data, int min_code_size, std::uint8_t* const out,
                   const std::size_t size) {
  const int clear = 1 << min_code_size;
  const int end = clear + 1;
  std::array<const std::uint8_t*, kTableSize> from;
  // 0 marks the clear and end codes and the codes not defined yet.
  std::array<std::uint16_t, kTableSize> length{};
  for (int c = 0; c < clear; ++c) {
    from[static_cast<std::size_t>(c)] = kRoots.data() + (c & 0xFF);
    length[static_cast<std::size_t>(c)] = 1;
  }
  CodeReader reader(data);
  std::uint8_t* put = out;
  std::uint8_t* const stop = out + size;
  // Where the previous code's string was written, and its length.
  const std::uint8_t* previous = nullptr;
  std::size_t previous_length = 0;
  int code_size = min_code_size + 1;
  int next_free = end + 1;
  int limit = 1 << code_size;
  // The new entry is the previous string plus one byte, which sits right after it. A full
  // table takes no more entries until the next clear code.
  const auto add = [&] {
    if (next_free >= kTableSize) return;
    from[static_cast<std::size_t>(next_free)] = previous;
    length[static_cast<std::size_t>(next_free)] = static_cast<std::uint16_t>(previous_length + 1);
    if (++next_free >= limit && code_size < kMaxCodeSize) {
      limit <<= 1;
      ++code_size;
    }
  };
  const auto finish = [&] {
    std::memset(put, 0, std::min<std::size_t>(kCopyWidth, static_cast<std::size_t>(stop - put)));
    return static_cast<std::size_t>(put - out);
  };

  int code = 0;
  if (!reader.Read(code_size, code)) return finish();
  if (code != clear) throw EInvalidGraphicOperation(GifError::InvalidLzwData);
  for (;;) {
    const std::size_t n = length[static_cast<std::size_t>(code)];
    if (n != 0) [[likely]] {
      CopyString(put, from[static_cast<std::size_t>(code)], n);
      add();
      previous = put;
      previous_length = n;
      put += n;
    } else if (code == clear) {
      std::fill(length.begin() + end + 1, length.begin() + next_free, 0);
      code_size = min_code_size + 1;
      next_free = end + 1;
      limit = 1 << code_size;
      do {
        if (!reader.Read(code_size, code)) return finish();
      } while (code == clear);
      if (code == end) throw EInvalidGraphicOperation(GifError::InvalidLzwData);
      if (code >= next_free) code = 0;
      // A root; the first code after a clear makes no entry.
      *put = static_cast<std::uint8_t>(code);
      previous = put;
      previous_length = 1;
      ++put;
    } else if (code == next_free) {
      // The entry being made: the previous string plus its own first byte.
      add();
      CopyString(put, previous, previous_length);
      put[previous_length] = *previous;
      previous = put;
      put += ++previous_length;
    } else if (code == end) {
      break;
    } else {
      throw EInvalidGraphicOperation(GifError::InvalidLzwData);
    }
    // Past the end of the picture: later strings go to the slack, to be dropped.
    if (put > stop) put = stop;
    if (!reader.Read(code_size, code)) break;
  }
  return finish();
}

}  // namespace

std::vector<std::uint8_t> DecodeGifLzw(std::span<const std::uint8_t> data, int min_code_size, int width,
                                       int height, bool interlaced) {
  if (min_code_size < 0 || min_code_size + 1 > kMaxCodeSize)
    throw EInvalidGraphicOperation(GifError::InvalidLzwCodeSize);
  if (width <= 0 || height <= 0) return {};
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (!interlaced) {
    std::vector<std::uint8_t> pixels(size + kSlack, 0);
    Decode(data, min_code_size, pixels.data(), size);
    pixels.resize(size);
    return pixels;
  }
  std::vector<std::uint8_t> reading_order(size + kSlack, 0);
  const std::size_t decoded = Decode(data, min_code_size, reading_order.data(), size);
  std::vector<std::uint8_t> pixels(size, 0);
  Deinterlace(reading_order, decoded, width, height, pixels);
  return pixels;
}

}  // namespace tessival::imaging
