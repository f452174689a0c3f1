#include "imaging/gif_lzw.h"

#include <array>
#include <cstring>
#include <memory>
#include <vector>

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
    if (bits_ < size) Refill();
    if (bits_ < size) return false;
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

// The decoded bytes in reading order. Every table entry's string has occurred earlier in
// this output, so an entry is kept as the place of that occurrence and its length, and
// writing a code's string is a copy from earlier output. Bytes past the end are dropped.
class Output {
 public:
  explicit Output(std::span<std::uint8_t> out) : out_(out) {}
  std::size_t Position() const { return position_; }
  // Clears what the last short copy wrote past the end of the output, so pixels the data
  // did not reach stay 0.
  std::size_t Finish() {
    if (position_ < out_.size()) std::memset(out_.data() + position_, 0, std::min<std::size_t>(16, out_.size() - position_));
    return position_;
  }
  void PutRoot(int root) {
    if (position_ < out_.size()) out_[position_] = static_cast<std::uint8_t>(root);
    ++position_;
  }
  // Copies `length` bytes that start at `from` (< Position()); the ranges may overlap by
  // one byte when a code refers to the entry being made.
  void PutCopy(std::size_t from, std::size_t length) {
    // Most strings are short: one fixed 16-byte copy when source and destination are far
    // enough apart and there is room. The bytes past the string are overwritten by the
    // strings that follow, or cleared by Finish.
    if (length <= 16 && position_ - from >= 16 && out_.size() - position_ >= 16 && position_ < out_.size()) {
      std::memcpy(out_.data() + position_, out_.data() + from, 16);
      position_ += length;
      return;
    }
    if (position_ < out_.size()) {
      const std::size_t n = std::min(length, out_.size() - position_);
      std::uint8_t* d = out_.data() + position_;
      const std::uint8_t* s = out_.data() + from;
      const std::size_t apart = position_ - from;
      std::memcpy(d, s, std::min(n, apart));
      for (std::size_t i = apart; i < n; ++i) d[i] = s[i];
    }
    position_ += length;
  }

 private:
  std::span<std::uint8_t> out_;
  std::size_t position_ = 0;
};

struct Entry {
  std::size_t start = 0;
  std::uint16_t length = 1;
};

// Rows of an interlaced image arrive in four passes: rows 0, 8, 16 …, then 4, 12 …, then
// 2, 6 …, then 1, 3 ….
// Only the `decoded` first bytes of the reading order were written; later rows stay zero.
void Deinterlace(const std::vector<std::uint8_t>& reading_order, std::size_t decoded, int width, int height,
                 std::span<std::uint8_t> pixels) {
  constexpr int kStarts[4] = {0, 4, 2, 1};
  constexpr int kSteps[4] = {8, 8, 4, 2};
  const auto w = static_cast<std::size_t>(width);
  std::size_t row = 0;
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStarts[pass]; y < height && row * w < decoded; y += kSteps[pass], ++row)
      std::memcpy(pixels.data() + static_cast<std::size_t>(y) * w, reading_order.data() + row * w, w);
}

// Returns how many bytes were output (possibly more than fit).
std::size_t Decode(std::span<const std::uint8_t> data, int min_code_size, std::span<std::uint8_t> out) {
  const int clear = 1 << min_code_size;
  const int end = clear + 1;
  std::vector<Entry> table(kTableSize);
  Output output(out);
  CodeReader reader(data);

  int code_size = min_code_size + 1;
  int next_free = end + 1;
  int limit = 1 << code_size;
  const auto grow = [&] {
    if (next_free >= limit && code_size < kMaxCodeSize) {
      limit <<= 1;
      ++code_size;
    }
  };
  // Where the previous code's string was written, and its length.
  std::size_t previous_start = 0;
  std::size_t previous_length = 0;
  const auto put = [&](int c) {
    previous_start = output.Position();
    if (c < clear) {
      output.PutRoot(c);
      previous_length = 1;
    } else {
      const Entry& e = table[static_cast<std::size_t>(c)];
      output.PutCopy(e.start, e.length);
      previous_length = e.length;
    }
  };
  // The new entry is the previous string plus one byte, which sits right after it.
  const auto add = [&](std::size_t start, std::size_t length) {
    if (next_free >= kTableSize) return false;  // full until the next clear code
    table[static_cast<std::size_t>(next_free++)] = Entry{start, static_cast<std::uint16_t>(length + 1)};
    return true;
  };

  int code = 0;
  if (!reader.Read(code_size, code)) return output.Finish();
  if (code != clear) throw EInvalidGraphicOperation(GifError::InvalidLzwData);
  while (code != end) {
    if (code == clear) {
      code_size = min_code_size + 1;
      next_free = end + 1;
      limit = 1 << code_size;
      do {
        if (!reader.Read(code_size, code)) return output.Finish();
      } while (code == clear);
      if (code == end) throw EInvalidGraphicOperation(GifError::InvalidLzwData);
      if (code >= next_free) code = 0;
      put(code);
    } else if (code < next_free) {
      const std::size_t start = previous_start, length = previous_length;
      put(code);
      add(start, length);
      grow();
    } else if (code == next_free) {
      if (!add(previous_start, previous_length)) throw EInvalidGraphicOperation(GifError::InvalidLzwData);
      grow();
      put(code);
    } else {
      throw EInvalidGraphicOperation(GifError::InvalidLzwData);
    }
    if (!reader.Read(code_size, code)) return output.Finish();
  }
  return output.Finish();
}

}  // namespace

void DecodeGifLzw(std::span<const std::uint8_t> data, int min_code_size, int width, int height, bool interlaced,
                  std::span<std::uint8_t> pixels) {
  if (min_code_size < 0 || min_code_size + 1 > kMaxCodeSize) throw EInvalidGraphicOperation(GifError::InvalidLzwCodeSize);
  if (width <= 0 || height <= 0) return;
  if (!interlaced) {
    Decode(data, min_code_size, pixels);
    return;
  }
  std::vector<std::uint8_t> reading_order(pixels.size(), 0);
  const std::size_t decoded = Decode(data, min_code_size, reading_order);
  Deinterlace(reading_order, decoded, width, height, pixels);
}

}  // namespace tessival::imaging
