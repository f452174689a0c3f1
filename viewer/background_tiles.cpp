#include "viewer/background_tiles.h"

#include <exception>

namespace tessival::viewer {

namespace {

// The first grid line at or before `edge` for tiles of `step` starting at `origin` (<= 0).
int FirstTileAt(int edge, int origin, int step) {
  const int steps = (edge - origin) / step;
  return origin + steps * step - (edge < origin ? step : 0);
}

void DrawTile(platform::Canvas& canvas, int x, int y, const platform::TMyBitmap& picture) {
  const int width = picture.Width();
  const int height = picture.Height();
  if (const platform::TBitmap* mask = picture.Mask()) {
    // XOR in, cut the transparent part out with the mask, XOR again: the opaque part ends as
    // the picture and the transparent part as it was, whatever colour the picture has under
    // its mask (a second copy with OR would blend that colour into the background).
    canvas.BitBlt(x, y, width, height, picture, 0, 0, platform::RasterOp::SRCINVERT);
    canvas.BitBlt(x, y, width, height, *mask, 0, 0, platform::RasterOp::SRCAND);
    canvas.BitBlt(x, y, width, height, picture, 0, 0, platform::RasterOp::SRCINVERT);
  } else {
    canvas.BitBlt(x, y, width, height, picture, 0, 0, platform::RasterOp::SRCCOPY);
  }
}

}  // namespace

void PaintBackground(platform::Canvas& canvas, const platform::Rect& clip, platform::TColor color,
                     const platform::TMyBitmap* picture, int h_position, int v_position) {
  if (!picture || picture->Empty()) {
    canvas.FillRect(clip, color);
    return;
  }
  const int width = picture->Width();
  const int height = picture->Height();
  const int origin_x = -(((h_position % width) + width) % width);
  const int origin_y = -(((v_position % height) + height) % height);
  try {
    if (picture->HasMask()) canvas.FillRect(clip, color);
    for (int y = FirstTileAt(clip.top, origin_y, height); y < clip.bottom; y += height) {
      for (int x = FirstTileAt(clip.left, origin_x, width); x < clip.right; x += width) {
        DrawTile(canvas, x, y, *picture);
      }
    }
  } catch (const std::exception&) {
    // A picture the canvas cannot draw leaves the page readable on its colour.
    canvas.FillRect(clip, color);
  }
}

}  // namespace tessival::viewer
