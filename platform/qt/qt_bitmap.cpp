#include "platform/qt/qt_bitmap.h"

#include <cstring>

namespace tessival::platform {

QImage ToQImage(const TBitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    if (bitmap.Format() == PixelFormat::pf32bit) {
      std::memcpy(row, bitmap.ScanLine(y), static_cast<std::size_t>(bitmap.Width()) * 4);
      for (int x = 0; x < bitmap.Width(); ++x) row[x] |= 0xFF000000u;
      continue;
    }
    for (int x = 0; x < bitmap.Width(); ++x) {
      const TColor c = bitmap.GetPixel(x, y);
      row[x] = qRgb(static_cast<int>(GetRValue(c)), static_cast<int>(GetGValue(c)),
                    static_cast<int>(GetBValue(c)));
    }
  }
  return image;
}

TBitmap FromQImage(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  TBitmap bitmap(image.width(), image.height(), PixelFormat::pf32bit);
  for (int y = 0; y < image.height(); ++y) {
    std::memcpy(bitmap.ScanLine(y), image.constScanLine(y), static_cast<std::size_t>(image.width()) * 4);
  }
  return bitmap;
}

QImage WrapBitmap(TBitmap& bitmap) {
  if (bitmap.Empty()) return QImage();
  return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.RowBytes(), QImage::Format_RGB32);
}

}  // namespace tessival::platform
