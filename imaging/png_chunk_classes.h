#pragma once
// The registry that maps a chunk type to the class that interprets it. Filled once, in a
// fixed order; a chunk class is found by its type or by its C++ type.
#include <memory>
#include <typeindex>
#include <vector>

#include "imaging/png_chunk.h"

namespace tessival::imaging {

class TChunkClasses {
 public:
  struct Entry {
    ChunkType type;
    std::type_index cls;
    std::unique_ptr<TChunk> (*make)();
  };

  // The run-wide registry: IEND, IHDR, gAMA, IDAT, PLTE, tEXt, tRNS.
  static const TChunkClasses& Instance();

  int Count() const { return static_cast<int>(entries_.size()); }
  const Entry& Item(int index) const;  // throws EPNGImageException when out of range
  const Entry* FindByType(const ChunkType& type) const;
  const Entry* FindByClass(std::type_index cls) const;

 private:
  TChunkClasses();
  std::vector<Entry> entries_;
};

}  // namespace tessival::imaging
