#pragma once
// The two kinds of picture the image cache holds for documents: a still bitmap (masks are
// stored as such too) and an animated GIF, which every image showing it copies so that
// each occurrence animates on its own.
#include <memory>
#include <utility>

#include "html/image_cache.h"
#include "imaging/gif_image.h"
#include "platform/bitmap.h"

namespace tessival::layout {

class TCachedBitmap final : public html::TCachedImage {
 public:
  explicit TCachedBitmap(platform::TBitmap bitmap) : Bitmap(std::move(bitmap)) {}
  platform::TBitmap Bitmap;
};

class TCachedAnimation final : public html::TCachedImage {
 public:
  explicit TCachedAnimation(std::unique_ptr<imaging::TGIFImage> image) : Image(std::move(image)) {}
  std::unique_ptr<imaging::TGIFImage> Image;
};

inline const platform::TBitmap* BitmapOf(const html::TCachedImage* image) {
  const auto* still = dynamic_cast<const TCachedBitmap*>(image);
  return still ? &still->Bitmap : nullptr;
}

inline imaging::TGIFImage* AnimationOf(const html::TCachedImage* image) {
  const auto* animated = dynamic_cast<const TCachedAnimation*>(image);
  return animated ? animated->Image.get() : nullptr;
}

}  // namespace tessival::layout
