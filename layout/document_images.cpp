#include "layout/document_images.h"

#include <algorithm>
#include <vector>

#include "html/text_util.h"
#include "html/url_helpers.h"
#include "imaging/image_loader.h"
#include "layout/cached_image.h"
#include "layout/case_1252.h"

namespace tessival::layout {
namespace {

std::vector<std::uint8_t> ReadAll(platform::TStream& stream) {
  std::vector<std::uint8_t> data;
  stream.Seek(0, platform::SeekOrigin::kBeginning);
  std::uint8_t block[65536];
  for (std::size_t got; (got = stream.Read(block, sizeof block)) > 0;)
    data.insert(data.end(), block, block + got);
  return data;
}

// What the loaders gave, as the cache keeps it.
std::unique_ptr<html::TCachedImage> ForCache(imaging::TLoadedImage loaded) {
  if (loaded.Animated) return std::make_unique<TCachedAnimation>(std::move(loaded.Animated));
  if (loaded.Bitmap) return std::make_unique<TCachedBitmap>(std::move(*loaded.Bitmap));
  return nullptr;
}

}  // namespace

platform::TMemoryStream& DeferredImageStream() {
  static platform::TMemoryStream stream;
  return stream;
}

TDocumentImages::TDocumentImages() : Own(std::make_unique<html::TStringBitmapList>()) {}
TDocumentImages::~TDocumentImages() { Clear(); }

std::string TDocumentImages::KeyOf(const std::string& reference) {
  std::string upper(html::Trim(reference));
  for (char& c : upper) c = Upper1252(c);
  return html::UrlToFileName(upper);
}

std::string TDocumentImages::Expand(const std::string& src) const {
  return OnExpandName ? OnExpandName(src) : src;
}

void TDocumentImages::Clear() {
  html::TStringBitmapList& cache = Cache();
  for (const std::string& key : UsedKeys_) cache.DecUsage(key);
  UsedKeys_.clear();
  Pending.clear();
}

html::TCachedImage* TDocumentImages::Store(const std::string& key,
                                           std::unique_ptr<html::TCachedImage> image,
                                           std::unique_ptr<platform::TBitmap> mask,
                                           std::uint8_t transparency,
                                           const platform::TBitmap*& storedMask) {
  html::TCachedImage* kept = image.get();
  std::unique_ptr<html::TCachedImage> cachedMask;
  if (mask) {
    auto bitmap = std::make_unique<TCachedBitmap>(std::move(*mask));
    storedMask = &bitmap->Bitmap;
    cachedMask = std::move(bitmap);
  } else {
    transparency = 0;
  }
  Cache().AddObject(key, std::make_unique<html::TBitmapItem>(std::move(image), std::move(cachedMask),
                                                             transparency));
  UsedKeys_.push_back(key);
  return kept;
}

TImageAnswer TDocumentImages::GetDocumentImage(const std::string& reference, std::uint8_t transparency) {
  TImageAnswer answer;
  answer.Transparency = transparency;
  if (html::Trim(reference).empty()) return answer;
  const std::string key = KeyOf(reference);
  html::TStringBitmapList& cache = Cache();
  if (const int index = cache.IndexOf(key); index >= 0) {
    answer.Image = cache.GetImage(index);
    answer.FromCache = true;
    UsedKeys_.push_back(key);
    html::TBitmapItem& item = cache.ItemAt(index);
    if (const platform::TBitmap* still = BitmapOf(answer.Image)) {
      if (item.Transp == imaging::kFromImage || item.Transp == imaging::kFromPng) {
        answer.Transparency = item.Transp;
      } else if (transparency == imaging::kByLowerLeftPixel) {
        if (!item.Mask) {
          if (auto mask = imaging::MakeMask(*still, imaging::TMaskColor::kLowerLeftPixel))
            item.Mask = std::make_unique<TCachedBitmap>(std::move(*mask));
        }
        item.Transp = imaging::kByLowerLeftPixel;
      }
      answer.Mask = BitmapOf(item.Mask.get());
    }
    return answer;
  }

  imaging::BitmapPtr mask;
  imaging::TLoadedImage loaded;
  if (OnBitmapRequest) {
    int color = -1;
    OnBitmapRequest(reference, loaded.Bitmap, color);
    if (loaded.Bitmap && color != -1) {
      mask = imaging::MakeMask(*loaded.Bitmap, imaging::TMaskColor::kUseColor,
                               static_cast<platform::TColor>(color));
      answer.Transparency = imaging::kFromImage;
    } else if (loaded.Bitmap && transparency == imaging::kByLowerLeftPixel) {
      mask = imaging::MakeMask(*loaded.Bitmap, imaging::TMaskColor::kLowerLeftPixel);
    }
  } else if (OnImageRequest) {
    platform::TStream* stream = nullptr;
    OnImageRequest(reference, stream);
    if (stream == &DeferredImageStream()) {
      answer.Deferred = true;
      return answer;
    }
    if (stream) loaded = imaging::LoadImageData(ReadAll(*stream), answer.Transparency, mask);
    else loaded = imaging::LoadImageFile(Expand(reference), answer.Transparency, mask);
  } else {
    loaded = imaging::LoadImageFile(reference, answer.Transparency, mask);
  }
  auto image = ForCache(std::move(loaded));
  if (!image) return answer;
  ++Decodes;
  if (!mask) answer.Transparency = 0;
  answer.Image = Store(key, std::move(image), std::move(mask), answer.Transparency, answer.Mask);
  return answer;
}

}  // namespace tessival::layout
