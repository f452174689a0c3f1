#pragma once
// One link of a socket's send chain: a fixed block that is filled at the back and read
// from the front, and reused from its start once everything in it has been read.
#include <cstddef>
#include <span>
#include <vector>

namespace tessival::net {

class TBuffer {
 public:
  static constexpr int kDefaultSize = 1514;

  // A size of 0 or less means kDefaultSize.
  explicit TBuffer(int size);

  // Copies what fits behind the filled part; returns the number of bytes copied.
  int Write(std::span<const std::byte> data);
  // The unread part.
  std::span<const std::byte> Peek() const;
  // Marks up to count unread bytes as read; returns the number removed.
  int Remove(int count);
  // A block with unread data keeps its first Filled() bytes.
  void SetSize(int size);

  int Size() const { return static_cast<int>(data_.size()); }
  int Filled() const { return filled_; }
  int Taken() const { return taken_; }

 private:
  std::vector<std::byte> data_;
  int filled_ = 0;
  int taken_ = 0;
};

}  // namespace tessival::net
