#include "html/image_cache.h"

namespace tessival::html {

void TStringBitmapList::AddObject(std::string_view key, std::unique_ptr<TBitmapItem> item) {
  if (!item) return;
  ++item->UsageCount;
  items_.push_back(Entry{std::string(key), std::move(item)});
}

int TStringBitmapList::IndexOf(std::string_view key) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].key == key) return static_cast<int>(i);
  }
  return -1;
}

TCachedImage* TStringBitmapList::GetImage(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  TBitmapItem& item = *items_[index].item;
  item.AccessCount = 0;
  ++item.UsageCount;
  return item.MImage.get();
}

void TStringBitmapList::DecUsage(std::string_view key) {
  const int index = IndexOf(key);
  if (index >= 0) --items_[index].item->UsageCount;
}

void TStringBitmapList::Purge(int age) {
  for (int i = Count() - 1; i >= 0; --i) {
    const TBitmapItem& item = *items_[i].item;
    if (item.AccessCount > age && item.UsageCount <= 0) items_.erase(items_.begin() + i);
  }
}

void TStringBitmapList::Age() {
  for (Entry& entry : items_) ++entry.item->AccessCount;
  Purge(max_age_);
}

void TStringBitmapList::SetMaxAge(int maxAge) {
  Purge(maxAge);
  max_age_ = maxAge;
}

}  // namespace tessival::html
