// The document's pictures: the background, animation, hover frames of ACTIVE images,
// pictures delivered late, and image maps.
#include <algorithm>
#include <chrono>
#include <vector>

#include "imaging/platform_bitmaps.h"
#include "layout/cached_image.h"
#include "layout/image_obj.h"
#include "layout/section_list.h"
#include "platform/win_types.h"

namespace tessival::layout {

void TSectionList::SetBackgroundImage(const std::string& url) {
  if (url == BackgroundUrl) return;
  BackgroundUrl = url;
  BackgroundTried = false;
  BackgroundBitmap = BackgroundMask = nullptr;
  BackgroundFrame.reset();
  // A picture still coming for the old address is no longer the background.
  std::erase_if(Images.Pending, [](const auto& entry) { return entry.second == nullptr; });
}

const platform::TBitmap* TSectionList::GetBackgroundBitmap(const platform::TBitmap** mask) {
  if (ShowImages && !BackgroundTried && !BackgroundUrl.empty()) {
    BackgroundTried = true;
    const std::string url = Images.Expand(BackgroundUrl);
    const TImageAnswer answer = Images.GetDocumentImage(url, 0);
    if (const platform::TBitmap* still = BitmapOf(answer.Image)) {
      BackgroundBitmap = still;
      BackgroundMask = answer.Mask;
    } else if (imaging::TGIFImage* animated = AnimationOf(answer.Image)) {
      BackgroundFrame = imaging::ToPlatformBitmap(animated->Bitmap());
      BackgroundBitmap = &*BackgroundFrame;
    } else if (answer.Deferred) {
      // Asked once: the picture waits in the pending list like an image's, under the null
      // entry that stands for the document itself, until InsertImage brings it.
      Images.Pending.emplace(TDocumentImages::KeyOf(url), nullptr);
    }
  }
  if (mask) *mask = BackgroundMask;
  return BackgroundBitmap;
}

void TSectionList::SetActiveImageState(bool pressed) {
  LeftButtonDown = pressed;
  if (ActiveImage) ActiveImage->SetHoverState(pressed ? hsPressed : hsHover);
}

bool TSectionList::AdvanceAnimations() {
  if (IsCopy) return false;
  bool changed = false;
  for (TImageObj* image : AnimationList) changed = image->Advance() || changed;
  return changed;
}

namespace {
constexpr std::uintptr_t AnimationTimerId = 1;
constexpr std::chrono::milliseconds FirstAnimationInterval{50};
constexpr std::chrono::milliseconds AnimationInterval{40};
}  // namespace

void TSectionList::StopAnimationTimer() {
  if (AnimationTimer) AnimationTimer->KillTimer(AnimationTimerId);
}

void TSectionList::StartAnimationTimer() {
  if (IsCopy || AnimationList.empty()) return;
  if (!AnimationTimer) {
    AnimationTimer = std::make_unique<platform::MessageWindow>(
        [this](platform::UINT message, platform::WPARAM, platform::LPARAM) -> platform::LRESULT {
          if (message != platform::WM_TIMER) return 0;
          if (AdvanceAnimations() && OnInvalidate) OnInvalidate();
          if (!AnimationTicked) {
            AnimationTicked = true;
            AnimationTimer->SetTimer(AnimationTimerId, AnimationInterval);
          }
          return 0;
        });
  }
  AnimationTimer->SetTimer(AnimationTimerId,
                           AnimationTicked ? AnimationInterval : FirstAnimationInterval);
}

bool TSectionList::InsertImage(const std::string& src, platform::TStream& stream) {
  const std::string key = TDocumentImages::KeyOf(src);
  const auto [first, last] = Images.Pending.equal_range(key);
  if (first == last) return false;
  std::vector<TImageObj*> waiting;
  for (auto it = first; it != last; ++it) waiting.push_back(it->second);
  Images.Pending.erase(first, last);
  // The host now answers with the data itself.
  const TGetImageEvent saved = Images.OnImageRequest;
  Images.OnImageRequest = [&stream](const std::string&, platform::TStream*& answer) {
    answer = &stream;
  };
  const TImageAnswer answer = Images.GetDocumentImage(src, 0);
  Images.OnImageRequest = saved;
  bool reformat = false;
  for (TImageObj* image : waiting) {
    if (!image) {
      // The background: the picture is in the cache now, where the next paint finds it
      // without asking the host; one that could not be read stays away.
      BackgroundTried = answer.Image == nullptr;
      continue;
    }
    image->TakeDelivered(answer);
    // An image whose size the page did not fix takes the picture's size.
    if (!image->SizeKnown) reformat = true;
  }
  return reformat;
}

const html::TMapItem* TSectionList::FindMap(const std::string& name) const {
  for (const auto& map : MapList)
    if (map->MapName() == name) return map.get();
  return nullptr;
}

void TSectionList::ForgetImage(const TImageObj* image) {
  std::erase(AnimationList, image);
  if (ActiveImage == image) ActiveImage = nullptr;
  for (auto it = Images.Pending.begin(); it != Images.Pending.end();) {
    if (it->second == image) it = Images.Pending.erase(it);
    else ++it;
  }
  std::erase_if(DrawList, [image](const TImageRec& rec) { return rec.Image == image; });
}

}  // namespace tessival::layout
