#pragma once
// The ordered, owning list of a PNG image's chunks.
#include <memory>
#include <typeindex>
#include <vector>

#include "imaging/png_chunk.h"

namespace tessival::imaging {

class TPNGImage;

class TChunkList {
 public:
  explicit TChunkList(TPNGImage* image = nullptr) : image_(image) {}

  int Count() const { return static_cast<int>(chunks_.size()); }
  TChunk& Item(int index) const;  // throws EPNGImageException when out of range
  TChunk& Add(std::unique_ptr<TChunk> chunk);
  void Remove(TChunk& chunk);  // throws when the chunk is not in this list
  int IndexOfClass(std::type_index cls) const;
  template <class T>
  T* Find() const {
    const int i = IndexOfClass(typeid(T));
    return i < 0 ? nullptr : static_cast<T*>(chunks_[static_cast<std::size_t>(i)].get());
  }
  // Appends a new chunk of a registered class; nullptr for an unregistered class.
  TChunk* AddNew(std::type_index cls);
  void Move(int from, int to);
  void Clear() { chunks_.clear(); }
  TPNGImage* Image() const { return image_; }

 private:
  TPNGImage* image_;
  std::vector<std::unique_ptr<TChunk>> chunks_;
};

}  // namespace tessival::imaging
