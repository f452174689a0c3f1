#pragma once
// RecentShares: one immutable copy of a value for all the parts of a document that hold an
// equal one. Only the few most recently shared are looked up, newest first (neighbouring
// paragraphs and links mostly repeat each other); an older copy lives on in its holders.
#include <cstddef>
#include <memory>
#include <vector>

namespace tessival::layout {

template <typename Value, std::size_t Recent = 8>
class RecentShares {
 public:
  std::shared_ptr<const Value> Share(const Value& value) {
    for (auto shared = recent_.rbegin(); shared != recent_.rend(); ++shared)
      if (**shared == value) return *shared;
    if (recent_.size() >= Recent) recent_.erase(recent_.begin());
    recent_.push_back(std::make_shared<const Value>(value));
    return recent_.back();
  }
  void Clear() { recent_.clear(); }

 private:
  std::vector<std::shared_ptr<const Value>> recent_;
};

}  // namespace tessival::layout
