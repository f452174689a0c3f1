#include "imaging/png_chunk_list.h"

#include <algorithm>

#include "imaging/png_chunk_classes.h"
#include "imaging/png_error.h"

namespace tessival::imaging {

TChunk& TChunkList::Item(int index) const {
  if (index < 0 || index >= Count()) throw EPNGImageException(png_text::kChunkIndexRange);
  return *chunks_[static_cast<std::size_t>(index)];
}

TChunk& TChunkList::Add(std::unique_ptr<TChunk> chunk) {
  chunk->SetOwner(this);
  chunks_.push_back(std::move(chunk));
  return *chunks_.back();
}

void TChunkList::Remove(TChunk& chunk) {
  const auto it = std::find_if(chunks_.begin(), chunks_.end(),
                               [&](const auto& c) { return c.get() == &chunk; });
  if (it == chunks_.end()) throw EPNGImageException(png_text::kForeignChunk);
  chunks_.erase(it);
}

int TChunkList::IndexOfClass(std::type_index cls) const {
  for (std::size_t i = 0; i < chunks_.size(); ++i) {
    const TChunk& chunk = *chunks_[i];
    if (std::type_index(typeid(chunk)) == cls) return static_cast<int>(i);
  }
  return -1;
}

TChunk* TChunkList::AddNew(std::type_index cls) {
  const TChunkClasses::Entry* entry = TChunkClasses::Instance().FindByClass(cls);
  if (entry == nullptr) return nullptr;
  return &Add(entry->make());
}

void TChunkList::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count())
    throw EPNGImageException(png_text::kChunkIndexRange);
  auto chunk = std::move(chunks_[static_cast<std::size_t>(from)]);
  chunks_.erase(chunks_.begin() + from);
  chunks_.insert(chunks_.begin() + to, std::move(chunk));
}

}  // namespace tessival::imaging
