#include "layout/image_obj.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "html/text_util.h"
#include "imaging/image_loader.h"
#include "imaging/pixel_canvas.h"
#include "imaging/platform_bitmaps.h"
#include "layout/cached_image.h"
#include "layout/case_1252.h"
#include "layout/font_obj.h"
#include "layout/placeholder_images.h"
#include "layout/section_list.h"

namespace tessival::layout {
namespace {

constexpr int PlaceholderIconInset = 4;
constexpr int PlaceholderTextX = 24;
constexpr int MinIconSide = 24;  // a placeholder box smaller than this shows no icon
constexpr platform::TColor FrameShadow = 0x808080;
constexpr platform::TColor FrameLight = 0xFFFFFF;

platform::LogFont AltFont(platform::TColor color) {
  platform::LogFont font;
  font.name = "Arial";
  font.height = platform::PointsToPixels(8);
  font.color = color;
  return font;
}

// ALT text broken into lines that fit `width` (a word wider than that stands alone).
std::vector<std::string> WrapText(const platform::RealisedFont& font, std::string_view text, int width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t at = 0;
  while (at < text.size()) {
    const std::size_t space = text.find(' ', at);
    const std::string_view word = text.substr(at, space == std::string_view::npos ? text.size() - at
                                                                                  : space - at);
    at = space == std::string_view::npos ? text.size() : space + 1;
    if (word.empty()) continue;
    const std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (!line.empty() && platform::TextWidthOf(font, candidate) > width) {
      lines.push_back(line);
      line = std::string(word);
    } else {
      line = candidate;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// An animated picture draws its frames over the page colour.
std::uint32_t RgbOf(platform::TColor color) {
  const platform::TColor plain = platform::PlainColor(color);
  return ((plain & 0xFF) << 16) | (plain & 0xFF00) | ((plain >> 16) & 0xFF);
}

}  // namespace

TImageObj::TImageObj(TSectionList* document, int pos, const html::TAttributeList& attributes)
    : TFloatingObj(pos, attributes, 0), Document(document) {
  for (std::size_t i = 0; i < attributes.Count(); ++i) {
    const html::TAttribute& attribute = attributes[i];
    switch (attribute.Symbol) {
      case html::SrcSy: Source = std::string(html::Trim(attribute.StrValue)); break;
      case html::BorderSy: NoBorder = attribute.NumValue == 0; break;
      case html::TranspSy: TransparentMode = imaging::kByLowerLeftPixel; break;
      case html::IsMapSy: IsMap = true; break;
      case html::UseMapSy: {
        UsesMap = true;
        std::string name(html::Trim(attribute.StrValue));
        for (char& c : name) c = Upper1252(c);
        if (!name.empty() && name.front() == '#') name.erase(0, 1);
        MapName = name;
        break;
      }
      case html::ActiveSy: IsActive = true; break;
      case html::HeightSy: SpecHeight = std::max(attribute.NumValue, 1); break;
      default: break;
    }
  }
  AskedTransparency_ = TransparentMode;
}

TImageObj::TImageObj(const TImageObj& other)
    : TFloatingObj(other),
      Document(other.Document),
      Source(other.Source),
      NoBorder(other.NoBorder),
      TransparentMode(other.TransparentMode),
      IsMap(other.IsMap),
      UsesMap(other.UsesMap),
      MapName(other.MapName),
      IsActive(other.IsActive),
      SpecHeight(other.SpecHeight),
      ObjWidth(other.ObjWidth),
      ObjHeight(other.ObjHeight),
      SizeKnown(other.SizeKnown),
      HasLinkBorder(other.HasLinkBorder),
      State_(other.State_),
      AskedTransparency_(other.AskedTransparency_),
      Bitmap_(other.Bitmap_),
      Mask_(other.Mask_) {
  if (other.Animation_) Animation_ = std::make_unique<imaging::TGIFImage>(*other.Animation_);
}

std::unique_ptr<TFloatingObj> TImageObj::Clone(TSectionList* document) const {
  auto copy = std::make_unique<TImageObj>(*this);
  copy->Document = document;
  return copy;
}

TImageObj::~TImageObj() {
  if (Document) Document->ForgetImage(this);
}

void TImageObj::ShowError() {
  State_ = TImageState::kError;
  Bitmap_ = &ErrorImage();
  Mask_ = &ErrorImageMask();
  TransparentMode = imaging::kByLowerLeftPixel;
}

void TImageObj::DropPicture() {
  if (Document) Document->ForgetImage(this);
  Animation_.reset();
  MaskedPicture_.reset();
  Bitmap_ = nullptr;
  Mask_ = nullptr;
  State_ = TImageState::kNotLoaded;
  TransparentMode = AskedTransparency_;
  HoverState = hsNormal;
  // The placeholder has its own size; the picture's is found again when images come back.
  SizeKnown = false;
}

void TImageObj::Load() {
  TDocumentImages& images = Document->Images;
  const std::string url = images.Expand(Source);
  const std::string key = TDocumentImages::KeyOf(url);
  if (images.Pending.contains(key)) {
    State_ = TImageState::kDelayed;
    images.Pending.emplace(key, this);
    return;
  }
  const TImageAnswer answer = images.GetDocumentImage(url, static_cast<std::uint8_t>(TransparentMode));
  if (answer.Deferred) {
    State_ = TImageState::kDelayed;
    images.Pending.emplace(key, this);
    return;
  }
  TakeDelivered(answer);
}

void TImageObj::TakeDelivered(const TImageAnswer& answer) {
  MaskedPicture_.reset();
  if (imaging::TGIFImage* animated = AnimationOf(answer.Image)) {
    // Every occurrence animates on its own; the cached one is never drawn.
    Animation_ = std::make_unique<imaging::TGIFImage>(*animated);
    State_ = TImageState::kPicture;
    Bitmap_ = nullptr;
    Mask_ = nullptr;
    if (IsActive) {
      Animation_->SetAnimate(false);
    } else {
      Animation_->SetAnimate(true);
      Document->AnimationList.push_back(this);
    }
    return;
  }
  if (const platform::TBitmap* still = BitmapOf(answer.Image)) {
    State_ = TImageState::kPicture;
    Bitmap_ = still;
    Mask_ = answer.Mask;
    TransparentMode = answer.Transparency;
    return;
  }
  ShowError();
}

void TImageObj::NaturalSize(int& width, int& height) const {
  if (Animation_) {
    width = Animation_->Width();
    height = Animation_->Height();
  } else if (Bitmap_) {
    width = Bitmap_->Width();
    height = Bitmap_->Height();
  } else {
    width = height = PlaceholderSize;
  }
  width = std::max(width, 1);
  height = std::max(height, 1);
}

void TImageObj::Size(platform::Canvas& canvas, int availWidth, const TFontObj* run) {
  if (Document && !Document->ShowImages && State_ != TImageState::kNotLoaded) DropPicture();
  if (Document && Document->ShowImages && State_ == TImageState::kNotLoaded) Load();
  if (State_ == TImageState::kNotLoaded) Bitmap_ = &DelayedImage();
  int w = 0, h = 0;
  NaturalSize(w, h);
  if (!SizeKnown) {
    const bool hasWidth = SpecWidth > 0, hasHeight = SpecHeight > 0;
    if (IsPlaceholder()) {
      if (hasWidth && hasHeight && !WidthIsPercent) {
        ObjWidth = SpecWidth;
        ObjHeight = SpecHeight;
        SizeKnown = true;
      } else if (WidthIsPercent) {
        ObjWidth = std::max(availWidth * SpecWidth / 100, 1);
        ObjHeight = hasHeight ? SpecHeight : h;
      } else {
        ObjWidth = w;
        ObjHeight = h;
      }
    } else if (WidthIsPercent) {
      // Recomputed at every layout: the line's width may change.
      ObjWidth = std::max(availWidth * SpecWidth / 100, 1);
      ObjHeight = hasHeight ? SpecHeight
                            : std::max(static_cast<int>(static_cast<long long>(ObjWidth) * h / w), 1);
    } else {
      if (hasWidth && hasHeight) {
        ObjWidth = SpecWidth;
        ObjHeight = SpecHeight;
      } else if (hasHeight) {
        ObjHeight = SpecHeight;
        ObjWidth = std::max(static_cast<int>(static_cast<long long>(SpecHeight) * w / h), 1);
      } else if (hasWidth) {
        ObjWidth = SpecWidth;
        ObjHeight = std::max(static_cast<int>(static_cast<long long>(SpecWidth) * h / w), 1);
      } else {
        ObjWidth = w;
        ObjHeight = h;
      }
      SizeKnown = true;
    }
  }
  if (IsPlaceholder() && !SizeKnown && !AltText.empty()) {
    const auto font = canvas.RealiseFont(AltFont(0));
    ObjWidth = std::max(ObjWidth, platform::TextWidthOf(*font, AltText) + 2 + PlaceholderTextX);
    ObjHeight = std::max({ObjHeight, MinIconSide, font->metrics.tmHeight});
  }
  TotalWidth = ObjWidth;
  TotalHeight = ObjHeight;
  HasLinkBorder = !NoBorder && run && run->IsLinkRun();
  if (HasLinkBorder) {
    TotalWidth += 2;
    TotalHeight += 2;
  }
}

void TImageObj::Paint(platform::Canvas& canvas, int x, const TFontObj* run, int baseline, int lineTop) {
  const int y = TopForLine(run, baseline, lineTop);
  DrawX = x;
  DrawY = y + (Document ? Document->YOffset : 0);
  const int inner = HasLinkBorder ? 1 : 0;
  const platform::TColor textColor = run ? run->Font.Color : 0;
  if (IsPlaceholder()) PaintPlaceholder(canvas, x + inner, y + inner, textColor);
  else if (Animation_) PaintAnimation(canvas, x + inner, y + inner);
  else PaintPicture(canvas, x + inner, y + inner);
  if (HasLinkBorder) {
    const platform::TBrush oldBrush = canvas.SelectBrush(platform::TBrush::Hollow());
    const platform::TPen oldPen = canvas.SelectPen(platform::TPen{textColor, 1});
    canvas.Rectangle(x, y, x + TotalWidth, y + TotalHeight);
    canvas.SelectPen(oldPen);
    canvas.SelectBrush(oldBrush);
  }
}

void TImageObj::PaintPlaceholder(platform::Canvas& canvas, int x, int y, platform::TColor textColor) {
  const platform::TBitmap& icon = State_ == TImageState::kError ? ErrorImage() : DelayedImage();
  if (ObjWidth >= MinIconSide && ObjHeight >= MinIconSide) {
    const int iconX = x + PlaceholderIconInset, iconY = y + PlaceholderIconInset;
    const int w = std::min(icon.Width(), ObjWidth - PlaceholderIconInset);
    const int h = std::min(icon.Height(), ObjHeight - PlaceholderIconInset);
    if (State_ == TImageState::kError) {
      canvas.BitBlt(iconX, iconY, w, h, ErrorImageMask(), 0, 0, platform::RasterOp::SRCAND);
      canvas.BitBlt(iconX, iconY, w, h, MaskedPicture(), 0, 0, platform::RasterOp::SRCPAINT);
    } else {
      canvas.BitBlt(iconX, iconY, w, h, icon, 0, 0, platform::RasterOp::SRCCOPY);
    }
    if (!AltText.empty()) {
      const platform::LogFont oldFont = canvas.SelectFont(AltFont(textColor));
      const unsigned oldAlign = canvas.SetTextAlign(platform::TA_TOP);
      const platform::BkMode oldMode = canvas.SetBkMode(platform::BkMode::TRANSPARENT);
      const platform::Rect box{x, y, x + ObjWidth, y + ObjHeight};
      const auto font = canvas.RealiseFont(canvas.Font());
      const int lineHeight = font->metrics.tmHeight;
      int lineY = y + 2;
      for (const std::string& line : WrapText(*font, AltText, ObjWidth - PlaceholderTextX - 2)) {
        if (lineY >= y + ObjHeight) break;
        canvas.ExtTextOut(x + PlaceholderTextX, lineY, platform::ETO_CLIPPED, &box, line);
        lineY += lineHeight;
      }
      canvas.SetBkMode(oldMode);
      canvas.SetTextAlign(oldAlign);
      canvas.SelectFont(oldFont);
    }
  }
  if (!HasLinkBorder) {
    // A sunken frame: shadow above and left, light below and right.
    const int right = x + ObjWidth - 1, bottom = y + ObjHeight - 1;
    canvas.FillRect({x, y, right, y + 1}, FrameShadow);
    canvas.FillRect({x, y, x + 1, bottom}, FrameShadow);
    canvas.FillRect({x, bottom, right + 1, bottom + 1}, FrameLight);
    canvas.FillRect({right, y, right + 1, bottom + 1}, FrameLight);
  }
}

const platform::TBitmap& TImageObj::MaskedPicture() {
  if (!MaskedPicture_) {
    const platform::TBitmap& picture = State_ == TImageState::kError ? ErrorImage() : *Bitmap_;
    const platform::TBitmap& mask = State_ == TImageState::kError ? ErrorImageMask() : *Mask_;
    platform::TBitmap copy = picture.Converted(platform::PixelFormat::pf24bit);
    for (int y = 0; y < copy.Height(); ++y)
      for (int x = 0; x < copy.Width(); ++x)
        if (mask.GetRaw(x, y) != 0) copy.SetPixel(x, y, 0);
    MaskedPicture_ = std::move(copy);
  }
  return *MaskedPicture_;
}

void TImageObj::PaintPicture(platform::Canvas& canvas, int x, int y) {
  const platform::TBitmap& picture = *Bitmap_;
  const platform::StretchMode oldMode = canvas.SetStretchBltMode(platform::StretchMode::COLORONCOLOR);
  if (Mask_ && Mask_->Width() == picture.Width() && Mask_->Height() == picture.Height()) {
    // Black where the page shows through, then the picture with black there.
    canvas.StretchBlt(x, y, ObjWidth, ObjHeight, *Mask_, 0, 0, Mask_->Width(), Mask_->Height(),
                      platform::RasterOp::SRCAND);
    canvas.StretchBlt(x, y, ObjWidth, ObjHeight, MaskedPicture(), 0, 0, picture.Width(),
                      picture.Height(), platform::RasterOp::SRCPAINT);
  } else {
    canvas.StretchBlt(x, y, ObjWidth, ObjHeight, picture, 0, 0, picture.Width(), picture.Height(),
                      platform::RasterOp::SRCCOPY);
  }
  canvas.SetStretchBltMode(oldMode);
}

void TImageObj::PaintAnimation(platform::Canvas& canvas, int x, int y) {
  // The frame is composed off screen over the page colour (the platform canvas cannot be
  // read back here) and then copied.
  try {
    imaging::TPixelCanvas composite(ObjWidth, ObjHeight);
    imaging::TSolidBackground background(RgbOf(Document ? Document->Background : 0xFFFFFF));
    Animation_->DrawAnimated(composite, 0, 0, ObjWidth, ObjHeight, background);
    const platform::TBitmap frame = imaging::ToPlatformBitmap(composite.Surface());
    canvas.BitBlt(x, y, ObjWidth, ObjHeight, frame, 0, 0, platform::RasterOp::SRCCOPY);
  } catch (const std::exception&) {
    // A frame that cannot be drawn is left out; the page goes on.
  }
}

void TImageObj::SetHoverState(int state) {
  if (!Animation_ || !IsActive || state == HoverState) return;
  HoverState = state;
  const int frames = Animation_->NumFrames();
  if (frames == 2) {
    Animation_->SetCurrentFrame(state == hsNormal ? 1 : 2);
  } else if (frames == 3) {
    Animation_->SetCurrentFrame(state == hsNormal ? 1 : state == hsHover ? 2 : 3);
  } else if (state == hsNormal) {
    Animation_->SetAnimate(false);
    Animation_->SetCurrentFrame(1);
  } else {
    Animation_->SetAnimate(true);
  }
  if (Document && Document->OnInvalidate) Document->OnInvalidate();
}

bool TImageObj::Advance() {
  if (!Animation_ || !Animation_->Animate()) return false;
  struct Quiet final : imaging::TPaintPanel {
    bool changed = false;
    void InvalidateRect(const imaging::TRect&, bool) override { changed = true; }
  } panel;
  Animation_->AdvanceAnimation(panel);
  return panel.changed;
}

}  // namespace tessival::layout
