#include "platform/raster_op.h"

namespace tessival::platform {

bool UsesSource(RasterOp op) {
  switch (op) {
    case RasterOp::SRCCOPY:
    case RasterOp::SRCPAINT:
    case RasterOp::SRCAND:
    case RasterOp::SRCINVERT:
    case RasterOp::SRCERASE:
    case RasterOp::NOTSRCCOPY: return true;
    default: return false;
  }
}

TColor ApplyRasterOp(RasterOp op, TColor d, TColor s, TColor p) {
  constexpr TColor kBits = 0x00FFFFFF;
  switch (op) {
    case RasterOp::SRCCOPY: return s & kBits;
    case RasterOp::SRCPAINT: return (s | d) & kBits;
    case RasterOp::SRCAND: return s & d & kBits;
    case RasterOp::SRCINVERT: return (s ^ d) & kBits;
    case RasterOp::SRCERASE: return s & ~d & kBits;
    case RasterOp::NOTSRCCOPY: return ~s & kBits;
    case RasterOp::DSTINVERT: return ~d & kBits;
    case RasterOp::PATCOPY: return p & kBits;
    case RasterOp::PATINVERT: return (p ^ d) & kBits;
    case RasterOp::BLACKNESS: return 0;
    case RasterOp::WHITENESS: return kBits;
  }
  return d & kBits;
}

const char* RasterOpName(RasterOp op) {
  switch (op) {
    case RasterOp::SRCCOPY: return "SRCCOPY";
    case RasterOp::SRCPAINT: return "SRCPAINT";
    case RasterOp::SRCAND: return "SRCAND";
    case RasterOp::SRCINVERT: return "SRCINVERT";
    case RasterOp::SRCERASE: return "SRCERASE";
    case RasterOp::NOTSRCCOPY: return "NOTSRCCOPY";
    case RasterOp::DSTINVERT: return "DSTINVERT";
    case RasterOp::PATCOPY: return "PATCOPY";
    case RasterOp::PATINVERT: return "PATINVERT";
    case RasterOp::BLACKNESS: return "BLACKNESS";
    case RasterOp::WHITENESS: return "WHITENESS";
  }
  return "?";
}

}  // namespace tessival::platform
