#include "net/buffer.h"

#include <algorithm>
#include <cstring>

namespace tessival::net {

TBuffer::TBuffer(int size) : data_(static_cast<std::size_t>(size > 0 ? size : kDefaultSize)) {}

int TBuffer::Write(std::span<const std::byte> data) {
  const int room = Size() - filled_;
  const int count = std::min(room, static_cast<int>(std::min<std::size_t>(data.size(), 0x7FFFFFFF)));
  if (count <= 0) return 0;
  std::memcpy(data_.data() + filled_, data.data(), static_cast<std::size_t>(count));
  filled_ += count;
  return count;
}

std::span<const std::byte> TBuffer::Peek() const {
  return {data_.data() + taken_, static_cast<std::size_t>(filled_ - taken_)};
}

int TBuffer::Remove(int count) {
  const int removed = std::clamp(count, 0, filled_ - taken_);
  taken_ += removed;
  if (taken_ == filled_) filled_ = taken_ = 0;
  return removed;
}

void TBuffer::SetSize(int size) {
  const int wanted = size > 0 ? size : kDefaultSize;
  data_.resize(static_cast<std::size_t>(std::max(wanted, filled_)));
}

}  // namespace tessival::net
