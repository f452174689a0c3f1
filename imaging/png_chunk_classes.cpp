#include "imaging/png_chunk_classes.h"

#include "imaging/png_error.h"

namespace tessival::imaging {

namespace {
template <class T>
TChunkClasses::Entry EntryFor() {
  return {T().Type(), std::type_index(typeid(T)),
          []() -> std::unique_ptr<TChunk> { return std::make_unique<T>(); }};
}
}  // namespace

TChunkClasses::TChunkClasses()
    : entries_{EntryFor<TChunkIEND>(), EntryFor<TChunkIHDR>(), EntryFor<TChunkGAMA>(),
               EntryFor<TChunkIDAT>(), EntryFor<TChunkPLTE>(), EntryFor<TChunkTEXT>(),
               EntryFor<TChunkTRNS>()} {}

const TChunkClasses& TChunkClasses::Instance() {
  static const TChunkClasses registry;
  return registry;
}

const TChunkClasses::Entry& TChunkClasses::Item(int index) const {
  if (index < 0 || index >= Count()) throw EPNGImageException(png_text::kChunkClassIndexRange);
  return entries_[static_cast<std::size_t>(index)];
}

const TChunkClasses::Entry* TChunkClasses::FindByType(const ChunkType& type) const {
  for (const Entry& e : entries_)
    if (e.type == type) return &e;
  return nullptr;
}

const TChunkClasses::Entry* TChunkClasses::FindByClass(std::type_index cls) const {
  for (const Entry& e : entries_)
    if (e.cls == cls) return &e;
  return nullptr;
}

}  // namespace tessival::imaging
