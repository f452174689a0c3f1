#pragma once
// Raster operations of BitBlt and PatBlt: bitwise combinations of the destination (D),
// the source (S) and the brush pattern (P), applied to the 24 colour bits of each pixel.
//
//   SRCCOPY   S          SRCPAINT  S | D        SRCAND    S & D      SRCINVERT S ^ D
//   NOTSRCCOPY ~S        DSTINVERT ~D           SRCERASE  S & ~D
//   PATCOPY   P          PATINVERT P ^ D        BLACKNESS 0          WHITENESS 1
//
// The masked transparent draw is SRCAND with the mask (white where transparent) followed
// by SRCPAINT with a picture that is black where transparent; SRCINVERT, SRCAND,
// SRCINVERT does the same without the black condition.
#include "platform/colors.h"

namespace tessival::platform {

enum class RasterOp {
  SRCCOPY,
  SRCPAINT,
  SRCAND,
  SRCINVERT,
  SRCERASE,
  NOTSRCCOPY,
  DSTINVERT,
  PATCOPY,
  PATINVERT,
  BLACKNESS,
  WHITENESS,
};

bool UsesSource(RasterOp op);
// The result for one pixel (plain colours in, plain colour out).
TColor ApplyRasterOp(RasterOp op, TColor destination, TColor source, TColor pattern);
const char* RasterOpName(RasterOp op);

}  // namespace tessival::platform
