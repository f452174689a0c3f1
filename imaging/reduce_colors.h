#pragma once
// Reducing true-colour pictures to a palette, for palette displays.
#include "imaging/pixel_image.h"

namespace tessival::imaging {

enum class TPaletteKind { None = 0, SystemDefault = 1, Cube = 3, ProgramCopy = 4, Optimized = 5 };
enum class TDitherMode { Nearest = 0, FloydSteinberg = 1 };

// The display depth classes of palette and true-colour screens.
enum class TDisplayClass { Bits4 = 4, Bits8 = 8, Bits24 = 24 };

// A new bitmap; the source is unchanged. Kind None copies the picture as 24-bit; every
// other kind gives an 8-bit bitmap that carries the kind's palette. Throws
// EBitmapRowError for an empty source.
PixelImage ReduceColors(const PixelImage& source, TPaletteKind kind, TDitherMode mode);

// The same onto any palette of up to 256 entries (through the fast lookup).
PixelImage ReduceToPalette(const PixelImage& source, const Palette& palette, TDitherMode mode);

// Empty for an empty source; pictures above 8 bits per pixel are dithered onto the system
// palette (4-bit displays) or the program palette (8-bit displays); others are copied.
PixelImage ReduceForDisplay(const PixelImage& source, TDisplayClass display);

// An optimised palette from the octree. With `reserve_system_colors` it has 256 entries:
// the system colours at 0–9 and 246–255 and up to 236 picture colours from entry 10;
// otherwise up to `colors` picture colours from entry 0 in `colors` entries. Unused
// entries are black.
Palette CreateOptimizedPalette(const PixelImage& source, int colors, int color_bits,
                               bool reserve_system_colors);

}  // namespace tessival::imaging
