#pragma once
// The tiled background picture of a block. The picture comes through the document's image
// request like any image on the page (so it is decoded once and shared through the cache),
// is asked for only while images are shown, and is kept by the block from then on; one
// still coming from the host is filled in when the host delivers it.
#include <memory>
#include <optional>
#include <string>

#include "html/properties.h"
#include "layout/tiled_picture.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace tessival::layout {

class TSectionList;
class TImageObj;

// A tiled background picture: what the style asked for.
struct TBackgroundRef {
  std::string Url;
  html::TBackgroundPositions Position;
};

// Where the first tile of a picture `tile` long lies along a box `box` long: the style's
// place, kept within [-tile, box] so that a far-off position still shows an edge.
int BackgroundOffset(const html::TBackgroundPosition& place, int box, int tile);

class TBlockBackground {
 public:
  TBlockBackground(TSectionList* document, const TBackgroundRef& ref);
  ~TBlockBackground();
  TBlockBackground(const TBlockBackground&) = delete;
  TBlockBackground& operator=(const TBlockBackground&) = delete;

  // Asks for the picture when images are shown and it has not been asked for yet.
  void Size(platform::Canvas& canvas);
  // Tiles the picture over `paddingBox` (window coordinates) where it meets `clip`; with no
  // picture (images off, still coming, failed) nothing is drawn.
  void Paint(platform::Canvas& canvas, const platform::Rect& clip, const platform::Rect& paddingBox);
  // True once a picture to draw has arrived.
  bool HasPicture() const;

 private:
  // Takes the picture's first frame and prepares the tiles; false when there is nothing to draw.
  bool Prepare();

  TSectionList* Document_;  // not owned
  TBackgroundRef Ref_;
  std::unique_ptr<TImageObj> Image_;
  bool Prepared_ = false;
  // The picture as delivered (its natural size places the tiles), and the tiles actually
  // drawn: the picture repeated to a comfortable size along the axes it repeats on.
  int PictureWidth_ = 0;
  int PictureHeight_ = 0;
  platform::TBitmap Tile_;
  std::optional<platform::TBitmap> TileMask_;
};

}  // namespace tessival::layout
