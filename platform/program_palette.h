#pragma once
// The program palette used on 8-bit displays: 256 entries, the system palette's ten
// colours at each end, a 6 x 6 x 6 cube without its white corner (levels 0x37, 0x73,
// 0xA5, 0xCD, 0xEB, 0xFF; red outermost, indexes 10..224) and 21 greys (indexes 225..245).
#include "platform/palette.h"

namespace tessival::platform {

// Builds the palette (whatever the display class).
TPalette MakeProgramPalette();

// The program's palette: present only while the display class is 8, nullptr otherwise.
// Every bitmap made for the screen on such a display without a palette of its own gets
// a copy of it.
const TPalette* ProgramPalette();

}  // namespace tessival::platform
