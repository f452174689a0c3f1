#include "html/token_obj.h"

namespace tessival::html {

TokenObj::TokenObj() {
  chars_.reserve(InitialCapacity);
  positions_.reserve(InitialCapacity);
}

void TokenObj::AddToken(const TokenObj& other) {
  if (&other == this) {
    // The copy is needed: appending a token to itself would read what it writes.
    const TokenObj copy = other;  // NOLINT(performance-unnecessary-copy-initialization)
    AddToken(copy);
    return;
  }
  const int needed = Count() + other.Count();
  if (needed > capacity_) capacity_ = needed + GrowBy;
  chars_.insert(chars_.end(), other.chars_.begin(), other.chars_.end());
  positions_.insert(positions_.end(), other.positions_.begin(), other.positions_.end());
  cache_valid_ = false;
}

void TokenObj::Clear() {
  chars_.clear();
  positions_.clear();
  cache_.clear();
  cache_valid_ = true;
}

void TokenObj::ReplaceChar(int index, char ch) {
  if (index < 1 || index > Count()) return;
  chars_[index - 1] = ch;
  if (cache_valid_) cache_[index - 1] = ch;
}

const std::string& TokenObj::Text() const {
  if (!cache_valid_) {
    cache_.assign(chars_.begin(), chars_.end());
    cache_valid_ = true;
  }
  return cache_;
}

}  // namespace tessival::html
