#pragma once
// TImageObj: an inline picture (IMG, and the pictures behind blocks and cells). It asks the
// document for its picture, keeps the mask, scales the picture to the size the page asks
// for, stands in with a placeholder and the ALT text while the picture is off, missing or
// still coming, draws a border in the link colour inside links, and for ACTIVE animated
// pictures shows the hover and pressed frames.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "imaging/gif_image.h"
#include "layout/document_images.h"
#include "layout/floating_obj.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"

namespace tessival::layout {

class TSectionList;
class TFontObj;
class TCellBasic;
class TFormControlObj;

// What the object shows.
enum class TImageState {
  kNotLoaded,  // images off (or not asked yet): the delayed placeholder
  kDelayed,    // the host is still fetching it
  kError,      // it could not be had
  kPicture,    // a still or animated picture
};

enum THoverState : int { hsNormal = 0, hsHover = 1, hsPressed = 2 };

class TImageObj : public TFloatingObj {
 public:
  TImageObj(TSectionList* document, int pos, const html::TAttributeList& attributes);
  TImageObj(const TImageObj& other);
  ~TImageObj() override;

  // Works out ObjWidth/ObjHeight and the totals for a line of availWidth; `run` is the font
  // run at the object (a link run gives the border).
  void Size(platform::Canvas& canvas, int availWidth, const TFontObj* run) override;
  // x is the object's left edge (its spaces already passed), baseline and lineTop in
  // window coordinates.
  void Paint(platform::Canvas& canvas, int x, const TFontObj* run, int baseline, int lineTop) override;
  std::unique_ptr<TFloatingObj> Clone(TSectionList* document) const override;
  // The picture the host delivered for a delayed image (bytes of any supported format).
  void TakeDelivered(const TImageAnswer& answer);
  // Shows the hover or pressed frame of an ACTIVE animated picture.
  void SetHoverState(int state);
  // The time tick of the document: moves the animation on; true when the frame changed.
  bool Advance();

  TImageState State() const { return State_; }
  bool IsPlaceholder() const { return State_ != TImageState::kPicture; }
  imaging::TGIFImage* Animation() const { return Animation_.get(); }
  const platform::TBitmap* Bitmap() const { return Bitmap_; }
  const platform::TBitmap* Mask() const { return Mask_; }

  TSectionList* Document;  // not owned
  std::string Source;
  bool NoBorder = false;
  int TransparentMode = 0;
  bool IsMap = false;
  bool UsesMap = false;
  std::string MapName;
  bool IsActive = false;
  int SpecHeight = -1;
  int ObjWidth = 0;
  int ObjHeight = 0;
  bool SizeKnown = false;
  bool HasLinkBorder = false;
  int HoverState = hsNormal;
  TFormControlObj* FormControl = nullptr;  // the image input that owns it
  TCellBasic* OwnerCell = nullptr;

 private:
  void Load();
  // Back to the state before any picture was asked for: images were turned off.
  void DropPicture();
  void ShowError();
  void NaturalSize(int& width, int& height) const;
  void PaintPlaceholder(platform::Canvas& canvas, int x, int y, platform::TColor textColor);
  void PaintPicture(platform::Canvas& canvas, int x, int y);
  void PaintAnimation(platform::Canvas& canvas, int x, int y);
  const platform::TBitmap& MaskedPicture();

  TImageState State_ = TImageState::kNotLoaded;
  // The transparency the page asked for; a loaded picture replaces TransparentMode with its own.
  int AskedTransparency_ = 0;
  const platform::TBitmap* Bitmap_ = nullptr;  // the cache's or a placeholder
  const platform::TBitmap* Mask_ = nullptr;
  std::unique_ptr<imaging::TGIFImage> Animation_;  // this occurrence's own copy
  // The picture with its transparent pixels made black, for the two-step masked blit.
  std::optional<platform::TBitmap> MaskedPicture_;
};

}  // namespace tessival::layout
