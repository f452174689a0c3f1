#pragma once
// The characters of one token together with the source position each came from, so that
// layout can map a click or a selection back to the document text.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessival::html {

class TokenObj {
 public:
  static constexpr int InitialCapacity = 300;
  static constexpr int GrowBy = 50;

  TokenObj();

  void AddChar(char ch, std::int32_t pos) {
    if (Count() >= capacity_) capacity_ += GrowBy;
    chars_.push_back(ch);
    positions_.push_back(pos);
    cache_valid_ = false;
  }
  void AddToken(const TokenObj& other);
  // Characters from consecutive source positions, starting at `firstPos`; the capacity
  // grows as it would for one AddChar after the other.
  void AddRun(std::string_view text, std::int32_t firstPos) {
    const auto count = static_cast<int>(text.size());
    const int missing = Count() + count - capacity_;
    if (missing > 0) capacity_ += (missing + GrowBy - 1) / GrowBy * GrowBy;
    chars_.insert(chars_.end(), text.begin(), text.end());
    for (int i = 0; i < count; ++i) positions_.push_back(firstPos + i);
    cache_valid_ = false;
  }
  void Clear();
  // Replaces the character at the 1-based index; ignored beyond the count.
  void ReplaceChar(int index, char ch);
  const std::string& Text() const;
  // The same characters without making the text: for a reader that only copies them.
  std::string_view Chars() const { return {chars_.data(), chars_.size()}; }

  int Count() const { return static_cast<int>(chars_.size()); }
  // The capacity the token reports: it starts at 300 and grows by 50 entries (or to
  // count + other count + 50 for AddToken). The storage underneath grows geometrically,
  // so a long token never costs a copy per 50 characters.
  int Capacity() const { return capacity_; }
  char CharAt(int index) const { return chars_[index]; }             // 0-based
  std::int32_t PosAt(int index) const { return positions_[index]; }  // 0-based
  const std::vector<std::int32_t>& Positions() const { return positions_; }
  bool CacheValid() const { return cache_valid_; }

 private:
  std::vector<char> chars_;
  std::vector<std::int32_t> positions_;
  int capacity_ = InitialCapacity;
  mutable std::string cache_;
  mutable bool cache_valid_ = true;
};

}  // namespace tessival::html
