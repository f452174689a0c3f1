#pragma once
// The document's image cache, shared by the viewers: decoded pictures by image key (the
// upper-cased URL the caller gives), kept while a shown document uses them and for a few
// further documents after that, so that a page that comes back finds its pictures.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessival::html {

// A decoded picture as the cache holds it. The image layer derives its bitmaps and
// animated images from it; the cache only owns and frees them.
class TCachedImage {
 public:
  virtual ~TCachedImage() = default;
};

struct TBitmapItem {
  TBitmapItem() = default;
  TBitmapItem(std::unique_ptr<TCachedImage> image, std::unique_ptr<TCachedImage> mask,
              std::uint8_t transparency)
      : MImage(std::move(image)), Mask(std::move(mask)), Transp(transparency) {}

  std::unique_ptr<TCachedImage> MImage;
  std::unique_ptr<TCachedImage> Mask;  // may be absent
  std::uint8_t Transp = 0;
  int AccessCount = 0;  // the age: documents loaded since the picture was last asked for
  int UsageCount = 0;   // documents now showing it
};

class TStringBitmapList {
 public:
  static constexpr int DefaultMaxAge = 4;

  // Adds the item and counts one use of it.
  void AddObject(std::string_view key, std::unique_ptr<TBitmapItem> item);
  int IndexOf(std::string_view key) const;
  // The picture at `index`; it is young again and counts one more use.
  TCachedImage* GetImage(int index);
  // A document that stops showing the picture under `key`.
  void DecUsage(std::string_view key);
  // Once per new document: every item grows older, and those past the maximum age that
  // no document uses are freed.
  void Age();
  void SetMaxAge(int maxAge);
  int MaxAge() const { return max_age_; }
  void Clear() { items_.clear(); }

  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& KeyAt(int index) const { return items_[index].key; }
  const TBitmapItem& ItemAt(int index) const { return *items_[index].item; }
  TBitmapItem& ItemAt(int index) { return *items_[index].item; }

 private:
  struct Entry {
    std::string key;
    std::unique_ptr<TBitmapItem> item;
  };
  // Frees, from the last item to the first, every item older than `age` and unused.
  void Purge(int age);

  std::vector<Entry> items_;
  int max_age_ = DefaultMaxAge;
};

}  // namespace tessival::html
