#pragma once
// The page's background: a colour, or a picture tiled on a grid fixed to the document, so
// the tiles move with the text when it scrolls.
#include "platform/canvas.h"
#include "platform/masked_bitmap.h"

namespace tessival::viewer {

// Fills `clip` (panel coordinates) with the background. With a picture, tiles start at
// (-(h_position mod width), -(v_position mod height)); a picture with a mask shows the
// colour through its transparent part. A picture that cannot be drawn leaves the plain
// colour.
void PaintBackground(platform::Canvas& canvas, const platform::Rect& clip, platform::TColor color,
                     const platform::TBitmap* picture, const platform::TBitmap* mask, int h_position,
                     int v_position);
// The same for a picture that carries its own mask.
inline void PaintBackground(platform::Canvas& canvas, const platform::Rect& clip, platform::TColor color,
                            const platform::TMyBitmap* picture, int h_position, int v_position) {
  PaintBackground(canvas, clip, color, picture, picture ? picture->Mask() : nullptr, h_position,
                  v_position);
}

}  // namespace tessival::viewer
