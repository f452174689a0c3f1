#pragma once
// The fixed palettes colour reduction can aim at, in the decoders' palette type. The
// system and program palettes are the platform's own tables, so a reduced bitmap's
// indexes mean the same colours on both sides.
#include "imaging/pixel_image.h"

namespace tessival::imaging {

// The 20 stock colours every palette display reserves: 10 at the bottom, 10 at the top.
const Palette& SystemDefaultPalette();

// 216 entries, entry 36r + 6g + b being (51r, 51g, 51b).
const Palette& CubePalette();

// The 256-entry palette the program uses on 8-bit displays: the first ten system colours,
// a 6 × 6 × 6 cube without its white corner on the levels 0x37 … 0xFF (entries 10–224),
// 21 greys (225–245) and the last ten system colours (246–255).
const Palette& ProgramPalette();

}  // namespace tessival::imaging
