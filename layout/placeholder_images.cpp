#include "layout/placeholder_images.h"

namespace tessival::layout {
namespace {

using platform::PixelFormat;
using platform::TBitmap;
using platform::TColor;

constexpr TColor Black = 0x000000, White = 0xFFFFFF, Grey = 0x808080, LightGrey = 0xC0C0C0;
constexpr TColor Sky = 0xF0C080, Hill = 0x40A040, Sun = 0x00C0F0, Red = 0x0000E0;

void Frame(TBitmap& bitmap, TColor outer) {
  const int last = PlaceholderSize - 1;
  for (int i = 0; i < PlaceholderSize; ++i) {
    bitmap.SetPixel(i, 0, outer);
    bitmap.SetPixel(i, last, outer);
    bitmap.SetPixel(0, i, outer);
    bitmap.SetPixel(last, i, outer);
  }
}

// A framed landscape: the picture that is not there yet.
TBitmap MakeDelayed() {
  TBitmap bitmap(PlaceholderSize, PlaceholderSize, PixelFormat::pf24bit);
  bitmap.Fill(Sky);
  for (int x = 1; x < PlaceholderSize - 1; ++x) {
    const int top = 10 - (x < 8 ? x / 2 : (15 - x) / 2) + 1;
    for (int y = top; y < PlaceholderSize - 1; ++y) bitmap.SetPixel(x, y, Hill);
  }
  for (int y = 3; y < 6; ++y)
    for (int x = 10; x < 13; ++x) bitmap.SetPixel(x, y, Sun);
  Frame(bitmap, Grey);
  return bitmap;
}

// A page with a red cross: the picture that could not be had. Its white shows the page
// through the mask.
TBitmap MakeError() {
  TBitmap bitmap(PlaceholderSize, PlaceholderSize, PixelFormat::pf24bit);
  bitmap.Fill(White);
  for (int y = 1; y < PlaceholderSize - 1; ++y)
    for (int x = 2; x < PlaceholderSize - 2; ++x) bitmap.SetPixel(x, y, LightGrey);
  for (int i = 3; i < PlaceholderSize - 3; ++i) {
    for (int w = 0; w < 2; ++w) {
      bitmap.SetPixel(i + w, i, Red);
      bitmap.SetPixel(PlaceholderSize - 1 - i - w, i, Red);
    }
  }
  for (int i = 1; i < PlaceholderSize - 1; ++i) {
    bitmap.SetPixel(2, i, Black);
    bitmap.SetPixel(PlaceholderSize - 3, i, Black);
  }
  return bitmap;
}

TBitmap MakeErrorMask(const TBitmap& picture) {
  TBitmap mask(PlaceholderSize, PlaceholderSize, PixelFormat::pf1bit);
  for (int y = 0; y < PlaceholderSize; ++y)
    for (int x = 0; x < PlaceholderSize; ++x)
      if (picture.GetPixel(x, y) == White) mask.SetRaw(x, y, 1);
  return mask;
}

}  // namespace

const TBitmap& DelayedImage() {
  static const TBitmap bitmap = MakeDelayed();
  return bitmap;
}

const TBitmap& ErrorImage() {
  static const TBitmap bitmap = MakeError();
  return bitmap;
}

const TBitmap& ErrorImageMask() {
  static const TBitmap mask = MakeErrorMask(ErrorImage());
  return mask;
}

}  // namespace tessival::layout
