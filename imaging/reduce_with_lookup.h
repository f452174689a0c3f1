#pragma once
// Reduction onto a palette through any colour lookup with the shape of the dither engines'
// `Find` (an index and the colour it stands for). ReduceColors uses it with its own lookups;
// anything that wants to compare lookups can use it with others.
#include <utility>

#include "imaging/bitmap_rows.h"
#include "imaging/dither_engine.h"
#include "imaging/reduce_colors.h"

namespace tessival::imaging {

template <class Engine>
void DitherRows(const TRow24Reader& reader, Engine& engine, TDibWriter& writer) {
  for (int y = 0; y < reader.Height(); ++y) engine.ConvertRow(reader.Row(y), writer.Row(y));
}

// An 8-bit bitmap carrying `palette`, whose indexes `lookup` gives (it must answer with
// entries of `palette`). Throws EBitmapRowError for an empty source.
template <class Lookup>
PixelImage ReduceWithLookup(const PixelImage& source, Palette palette, Lookup& lookup,
                            TDitherMode mode) {
  TRow24Reader reader(source);
  PixelImage result(source.Width(), source.Height(), 8, RowOrder::BottomUp);
  result.Colors() = std::move(palette);
  if (result.Colors().empty()) return result;
  TDibWriter writer(result, 8);
  if (mode == TDitherMode::FloydSteinberg) {
    TFloydSteinbergDither<Lookup> engine(reader.Width(), lookup);
    DitherRows(reader, engine, writer);
  } else {
    TPlainDither<Lookup> engine(reader.Width(), lookup);
    DitherRows(reader, engine, writer);
  }
  writer.Finish();
  return result;
}

}  // namespace tessival::imaging
