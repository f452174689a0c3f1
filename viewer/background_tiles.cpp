#include "viewer/background_tiles.h"

#include <exception>

#include "layout/tiled_picture.h"

namespace tessival::viewer {

void PaintBackground(platform::Canvas& canvas, const platform::Rect& clip, platform::TColor color,
                     const platform::TBitmap* picture, const platform::TBitmap* mask, int h_position,
                     int v_position) {
  if (!picture || picture->Empty()) {
    canvas.FillRect(clip, color);
    return;
  }
  const int width = picture->Width();
  const int height = picture->Height();
  const int origin_x = -(((h_position % width) + width) % width);
  const int origin_y = -(((v_position % height) + height) % height);
  try {
    if (mask) canvas.FillRect(clip, color);
    layout::PaintTiles(canvas, clip, *picture, mask, layout::TTileGrid{origin_x, origin_y});
  } catch (const std::exception&) {
    // A picture the canvas cannot draw leaves the page readable on its colour.
    canvas.FillRect(clip, color);
  }
}

}  // namespace tessival::viewer
