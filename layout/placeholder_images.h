#pragma once
// The two pictures shown in place of an image: DelayedImage while pictures are off or the
// picture is still coming, ErrorImage (with its mask) when it cannot be had. Drawn once by
// code and shared by every document.
#include "platform/bitmap.h"

namespace tessival::layout {

constexpr int PlaceholderSize = 16;

const platform::TBitmap& DelayedImage();
const platform::TBitmap& ErrorImage();
const platform::TBitmap& ErrorImageMask();

}  // namespace tessival::layout
