#include "imaging/reduce_colors.h"

#include <algorithm>

#include "imaging/bitmap_rows.h"
#include "imaging/color_lookup.h"
#include "imaging/octree_quantizer.h"
#include "imaging/reduce_with_lookup.h"
#include "imaging/standard_palettes.h"

namespace tessival::imaging {

namespace {

Palette PaletteFor(const PixelImage& source, TPaletteKind kind) {
  switch (kind) {
    case TPaletteKind::SystemDefault: return SystemDefaultPalette();
    case TPaletteKind::Cube: return CubePalette();
    case TPaletteKind::ProgramCopy: return ProgramPalette();
    case TPaletteKind::Optimized: return CreateOptimizedPalette(source, 256, 8, true);
    case TPaletteKind::None: break;
  }
  return {};
}

PixelImage ReduceWith(const PixelImage& source, Palette palette, bool cube, TDitherMode mode) {
  if (cube) {
    TCubeColorLookup lookup;
    return ReduceWithLookup(source, std::move(palette), lookup, mode);
  }
  TFastColorLookup lookup(palette);
  return ReduceWithLookup(source, std::move(palette), lookup, mode);
}

}  // namespace

PixelImage ReduceColors(const PixelImage& source, TPaletteKind kind, TDitherMode mode) {
  if (kind == TPaletteKind::None) {
    TRow24Reader check(source);
    return ConvertTo24(source);
  }
  return ReduceWith(source, PaletteFor(source, kind), kind == TPaletteKind::Cube, mode);
}

PixelImage ReduceToPalette(const PixelImage& source, const Palette& palette, TDitherMode mode) {
  return ReduceWith(source, palette, false, mode);
}

PixelImage ReduceForDisplay(const PixelImage& source, TDisplayClass display) {
  if (source.Empty()) return {};
  if (source.BitsPerPixel() <= 8) return source;
  const TPaletteKind kind = display == TDisplayClass::Bits8 ? TPaletteKind::ProgramCopy
                                                            : TPaletteKind::SystemDefault;
  return ReduceColors(source, kind, TDitherMode::FloydSteinberg);
}

Palette CreateOptimizedPalette(const PixelImage& source, int colors, int color_bits,
                               bool reserve_system_colors) {
  const int quantizer_colors = reserve_system_colors ? 236 : std::clamp(colors, 1, 256);
  TOctreeQuantizer quantizer(quantizer_colors, color_bits);
  TRow24Reader reader(source);
  for (int y = 0; y < reader.Height(); ++y) {
    const std::uint8_t* p = reader.Row(y);
    for (int x = 0; x < reader.Width(); ++x, p += 3) quantizer.Add(p[2], p[1], p[0]);
  }
  const Palette found = quantizer.Colors();
  Palette palette(reserve_system_colors ? 256 : static_cast<std::size_t>(quantizer_colors));
  const std::size_t first = reserve_system_colors ? 10 : 0;
  for (std::size_t i = 0; i < found.size() && first + i < palette.size(); ++i)
    palette[first + i] = found[i];
  if (reserve_system_colors) {
    const Palette& system = SystemDefaultPalette();
    for (std::size_t i = 0; i < 10; ++i) {
      palette[i] = system[i];
      palette[246 + i] = system[10 + i];
    }
  }
  return palette;
}

}  // namespace tessival::imaging
