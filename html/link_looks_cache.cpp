#include "html/link_looks_cache.h"

namespace tessival::html {

bool TLinkLooksCache::Matches(const Entry& entry, const TProperties& link) {
  if (entry.TextBackground != link.TextBackground || entry.CharSet != link.CharSet ||
      entry.CodePage != link.CodePage || entry.Tag != link.PropTag || entry.Class != link.PropClass ||
      entry.Id != link.PropID) {
    return false;
  }
  for (int i = 0; i < PropCount; ++i) {
    if (!(entry.Props[i] == link.Prop(static_cast<PropIndex>(i)))) return false;
  }
  return true;
}

const TFontInfoArray* TLinkLooksCache::Find(const TProperties& link) const {
  for (const Entry& entry : entries_) {
    if (Matches(entry, link)) return &entry.Looks;
  }
  return nullptr;
}

void TLinkLooksCache::Add(const TProperties& link, const TFontInfoArray& looks) {
  if (entries_.size() >= MaxEntries) return;
  Entry& entry = entries_.emplace_back();
  for (int i = 0; i < PropCount; ++i) entry.Props[i] = link.Prop(static_cast<PropIndex>(i));
  entry.TextBackground = link.TextBackground;
  entry.CharSet = link.CharSet;
  entry.CodePage = link.CodePage;
  entry.Tag = link.PropTag;
  entry.Class = link.PropClass;
  entry.Id = link.PropID;
  entry.Looks = looks;
}

}  // namespace tessival::html
