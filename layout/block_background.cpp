#include "layout/block_background.h"

#include <algorithm>
#include <exception>

#include "html/attribute_list.h"
#include "imaging/platform_bitmaps.h"
#include "layout/image_obj.h"
#include "layout/section_list.h"

namespace tessival::layout {
namespace {

// A tile narrower than this along a repeating axis is widened before painting, so a thin
// strip costs a few blits rather than one per pixel.
constexpr int MinTileSide = 64;

}  // namespace

int BackgroundOffset(const html::TBackgroundPosition& place, int box, int tile) {
  long long offset = 0;
  switch (place.PosType) {
    case html::TBackgroundPlace::bpTop:
    case html::TBackgroundPlace::bpLeft: offset = 0; break;
    case html::TBackgroundPlace::bpCenter: offset = (static_cast<long long>(box) - tile) / 2; break;
    case html::TBackgroundPlace::bpBottom:
    case html::TBackgroundPlace::bpRight: offset = static_cast<long long>(box) - tile; break;
    case html::TBackgroundPlace::bpPercent:
      offset = (static_cast<long long>(box) - tile) * place.Value / 100;
      break;
    case html::TBackgroundPlace::bpLength: offset = place.Value; break;
  }
  return static_cast<int>(std::clamp<long long>(offset, -tile, box));
}

TBlockBackground::TBlockBackground(TSectionList* document, const TBackgroundRef& ref)
    : Document_(document), Ref_(ref) {}

TBlockBackground::~TBlockBackground() = default;

void TBlockBackground::Size(platform::Canvas& canvas) {
  if (!Document_ || !Document_->ShowImages) return;
  if (!Image_) {
    Image_ = std::make_unique<TImageObj>(Document_, 0, html::TAttributeList{});
    Image_->Source = Ref_.Url;
  }
  if (Image_->State() == TImageState::kNotLoaded) Image_->Size(canvas, 0, nullptr);
}

bool TBlockBackground::HasPicture() const { return Image_ && Image_->State() == TImageState::kPicture; }

bool TBlockBackground::Prepare() {
  if (Prepared_) return !Tile_.Empty();
  if (!HasPicture()) return false;  // asked again at the next paint: it may be delivered
  Prepared_ = true;
  try {
    platform::TBitmap picture;
    std::optional<platform::TBitmap> mask;
    if (imaging::TGIFImage* animation = Image_->Animation()) {
      // A background stands still: its first frame, and no ticks of the animation timer.
      animation->SetAnimate(false);
      picture = imaging::ToPlatformBitmap(animation->Bitmap());
      if (const imaging::PixelImage* frameMask = animation->Mask())
        mask = imaging::ToPlatformBitmap(*frameMask);
    } else {
      picture = *Image_->Bitmap();
      if (const platform::TBitmap* own = Image_->Mask()) mask = *own;
    }
    if (mask && (mask->Width() != picture.Width() || mask->Height() != picture.Height())) mask.reset();
    PictureWidth_ = picture.Width();
    PictureHeight_ = picture.Height();
    const int minWidth = Ref_.Position.X.RepeatD ? MinTileSide : 0;
    const int minHeight = Ref_.Position.Y.RepeatD ? MinTileSide : 0;
    Tile_ = RepeatedTile(picture, minWidth, minHeight);
    if (mask) TileMask_ = RepeatedTile(*mask, minWidth, minHeight);
  } catch (const std::exception&) {
    // A picture that cannot be converted is left out, as one that failed to load.
    Tile_ = platform::TBitmap();
    TileMask_.reset();
  }
  return !Tile_.Empty();
}

void TBlockBackground::Paint(platform::Canvas& canvas, const platform::Rect& clip,
                             const platform::Rect& paddingBox) {
  const platform::Rect area = platform::IntersectRect(clip, paddingBox);
  if (area.IsEmpty() || !Prepare()) return;
  const int boxWidth = paddingBox.right - paddingBox.left;
  const int boxHeight = paddingBox.bottom - paddingBox.top;
  const TTileGrid grid{paddingBox.left + BackgroundOffset(Ref_.Position.X, boxWidth, PictureWidth_),
                       paddingBox.top + BackgroundOffset(Ref_.Position.Y, boxHeight, PictureHeight_),
                       Ref_.Position.X.RepeatD, Ref_.Position.Y.RepeatD};
  try {
    PaintTiles(canvas, area, Tile_, TileMask_ ? &*TileMask_ : nullptr, grid);
  } catch (const std::exception&) {
    // A failing draw leaves the block's colour; the page goes on.
  }
}

}  // namespace tessival::layout
