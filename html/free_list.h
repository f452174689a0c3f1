#pragma once
// A list that owns its objects: clearing or destroying it frees every object in it.
#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

namespace tessival::html {

template <typename T>
class TFreeList {
 public:
  T& Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    return *items_.back();
  }
  void Clear() { items_.clear(); }
  void Delete(std::size_t index) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index)); }
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  T& operator[](std::size_t index) { return *items_[index]; }
  const T& operator[](std::size_t index) const { return *items_[index]; }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<std::unique_ptr<T>> items_;
};

}  // namespace tessival::html
