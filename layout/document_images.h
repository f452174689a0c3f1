#pragma once
// The image request of one document: the image cache first, then the host (a bitmap, or
// the picture's bytes, or word that it is still coming), then the file. Images, the
// document's background and image inputs all ask here, so a picture used twice is decoded
// once.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "html/image_cache.h"
#include "platform/bitmap.h"
#include "platform/colors.h"
#include "platform/stream.h"

namespace tessival::layout {

class TImageObj;

// The host hands over a bitmap for SRC; `color` other than -1 names its transparent colour.
using TGetBitmapEvent =
    std::function<void(const std::string& src, std::unique_ptr<platform::TBitmap>& bitmap, int& color)>;
// The host hands over a stream with the picture's bytes, nothing (the file is read), or
// DeferredImageStream() (the picture is still coming). The stream stays the host's.
using TGetImageEvent = std::function<void(const std::string& src, platform::TStream*& stream)>;
// The viewer's name expansion: SRC relative to the document, as a file name or URL.
using TExpandNameEvent = std::function<std::string(const std::string& src)>;

// The shared answer "not available yet".
platform::TMemoryStream& DeferredImageStream();

struct TImageAnswer {
  html::TCachedImage* Image = nullptr;  // owned by the cache
  const platform::TBitmap* Mask = nullptr;
  std::uint8_t Transparency = 0;
  bool Deferred = false;
  bool FromCache = false;
};

class TDocumentImages {
 public:
  TDocumentImages();
  ~TDocumentImages();
  TDocumentImages(const TDocumentImages&) = delete;
  TDocumentImages& operator=(const TDocumentImages&) = delete;

  // `transparency` is what the caller asks for (1: by the lower-left pixel).
  TImageAnswer GetDocumentImage(const std::string& reference, std::uint8_t transparency);
  // SRC as the request wants it: through the name expansion when there is one.
  std::string Expand(const std::string& src) const;

  // The cache the viewers share; a document without a viewer keeps one of its own.
  html::TStringBitmapList& Cache() { return Shared ? *Shared : *Own; }
  // The document stops using its pictures (they age in the cache from now on).
  void Clear();

  static std::string KeyOf(const std::string& reference);

  html::TStringBitmapList* Shared = nullptr;  // not owned
  TGetBitmapEvent OnBitmapRequest;
  TGetImageEvent OnImageRequest;
  TExpandNameEvent OnExpandName;
  // Images waiting for their data, by upper-cased URL; a null entry is the document's own
  // background picture.
  std::multimap<std::string, TImageObj*> Pending;
  // How many pictures were decoded (not found in the cache) for this document.
  int Decodes = 0;

 private:
  html::TCachedImage* Store(const std::string& key, std::unique_ptr<html::TCachedImage> image,
                            std::unique_ptr<platform::TBitmap> mask, std::uint8_t transparency,
                            const platform::TBitmap*& storedMask);

  std::unique_ptr<html::TStringBitmapList> Own;
  std::vector<std::string> UsedKeys_;
};

}  // namespace tessival::layout
