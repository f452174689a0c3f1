#pragma once
// A picture repeated on a grid of tiles over part of a canvas: the page background of the
// viewer and the render tool, and the backgrounds of blocks. A mask, when given, lets what
// is already painted show through the picture's transparent pixels.
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace tessival::layout {

// Where the tiles lie: one tile's top-left corner (canvas coordinates) and whether the
// picture repeats along each axis or stands there once.
struct TTileGrid {
  int OriginX = 0;
  int OriginY = 0;
  bool RepeatX = true;
  bool RepeatY = true;
};

// Draws the tiles of `grid` that meet `area`, cut to it. `mask` (white where transparent)
// is used only when it has the picture's size.
void PaintTiles(platform::Canvas& canvas, const platform::Rect& area, const platform::TBitmap& picture,
                const platform::TBitmap* mask, const TTileGrid& grid);

// The picture repeated until it is at least minWidth x minHeight (never smaller than one
// copy), in the picture's own format and palette. Tiling a one-pixel strip pixel by pixel
// would cost a blit per pixel; a wider tile draws the same picture in few blits.
platform::TBitmap RepeatedTile(const platform::TBitmap& picture, int minWidth, int minHeight);

}  // namespace tessival::layout
