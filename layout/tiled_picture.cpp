#include "layout/tiled_picture.h"

#include <algorithm>

namespace tessival::layout {
namespace {

// The first grid line at or before `edge` for tiles of `step` through `origin`.
int FirstTileAt(int edge, int origin, int step) {
  const long long steps = (static_cast<long long>(edge) - origin) / step;
  long long first = origin + steps * step;
  if (first > edge) first -= step;
  return static_cast<int>(first);
}

// The tile positions along one axis that can meet [low, high).
struct TileRun {
  int First;
  int Step;
  int Count;
};

TileRun RunAlong(int low, int high, int origin, int size, bool repeat) {
  if (!repeat) return {origin, size, 1};
  const int first = FirstTileAt(low, origin, size);
  const long long span = static_cast<long long>(high) - first;
  return {first, size, static_cast<int>(std::max(0LL, (span + size - 1) / size))};
}

void DrawTilePart(platform::Canvas& canvas, const platform::Rect& part, int tileX, int tileY,
                  const platform::TBitmap& picture, const platform::TBitmap* mask) {
  const int width = part.right - part.left, height = part.bottom - part.top;
  const int sourceX = part.left - tileX, sourceY = part.top - tileY;
  if (mask) {
    // XOR in, cut the transparent part out with the mask, XOR again: the opaque part ends as
    // the picture and the transparent part as it was, whatever colour the picture has under
    // its mask.
    canvas.BitBlt(part.left, part.top, width, height, picture, sourceX, sourceY,
                  platform::RasterOp::SRCINVERT);
    canvas.BitBlt(part.left, part.top, width, height, *mask, sourceX, sourceY,
                  platform::RasterOp::SRCAND);
    canvas.BitBlt(part.left, part.top, width, height, picture, sourceX, sourceY,
                  platform::RasterOp::SRCINVERT);
  } else {
    canvas.BitBlt(part.left, part.top, width, height, picture, sourceX, sourceY,
                  platform::RasterOp::SRCCOPY);
  }
}

}  // namespace

void PaintTiles(platform::Canvas& canvas, const platform::Rect& area, const platform::TBitmap& picture,
                const platform::TBitmap* mask, const TTileGrid& grid) {
  const int width = picture.Width(), height = picture.Height();
  if (width <= 0 || height <= 0 || area.IsEmpty()) return;
  if (mask && (mask->Width() != width || mask->Height() != height)) mask = nullptr;
  const TileRun columns = RunAlong(area.left, area.right, grid.OriginX, width, grid.RepeatX);
  const TileRun rows = RunAlong(area.top, area.bottom, grid.OriginY, height, grid.RepeatY);
  for (int row = 0; row < rows.Count; ++row) {
    const int tileY = rows.First + row * rows.Step;
    for (int column = 0; column < columns.Count; ++column) {
      const int tileX = columns.First + column * columns.Step;
      const platform::Rect part{std::max(area.left, tileX), std::max(area.top, tileY),
                                std::min(area.right, tileX + width),
                                std::min(area.bottom, tileY + height)};
      if (!part.IsEmpty()) DrawTilePart(canvas, part, tileX, tileY, picture, mask);
    }
  }
}

platform::TBitmap RepeatedTile(const platform::TBitmap& picture, int minWidth, int minHeight) {
  const int width = picture.Width(), height = picture.Height();
  if (width <= 0 || height <= 0) return picture;
  const int across = std::max(1, (minWidth + width - 1) / width);
  const int down = std::max(1, (minHeight + height - 1) / height);
  if (across == 1 && down == 1) return picture;
  platform::TBitmap tile(width * across, height * down, picture.Format());
  tile.SetPalette(picture.Palette());
  for (int y = 0; y < tile.Height(); ++y)
    for (int x = 0; x < tile.Width(); ++x) tile.SetRaw(x, y, picture.GetRaw(x % width, y % height));
  return tile;
}

}  // namespace tessival::layout
