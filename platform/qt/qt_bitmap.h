#pragma once
// Crossing between TBitmap and QImage (the Qt side of bitmaps: screen output, PNG files).
#include <QImage>

#include "platform/bitmap.h"

namespace tessival::platform {

// A 32-bit QImage (Format_RGB32) with the bitmap's colours.
QImage ToQImage(const TBitmap& bitmap);
// A 32-bit bitmap with the image's colours (alpha dropped).
TBitmap FromQImage(const QImage& image);
// A QImage that shares the pixels of a 32-bit bitmap (no copy); the bitmap must outlive
// it and keep its size.
QImage WrapBitmap(TBitmap& bitmap);

}  // namespace tessival::platform
