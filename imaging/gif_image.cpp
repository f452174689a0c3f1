#include "imaging/gif_image.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <new>

#include "imaging/gif_error.h"
#include "imaging/pixel_blit.h"
#include "platform/bounded_file.h"

namespace tessival::imaging {

namespace {
constexpr int kMinimumFrameDelayMs = 30;
constexpr int kDisposalRestoreBackground = 2;
constexpr int kDisposalRestorePrevious = 3;
}  // namespace

std::uint32_t SystemMilliseconds() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

TGIFImage::TGIFImage(const TGif& gif, MillisecondClock clock)
    : clock_(std::move(clock)),
      width_(gif.Screen().width),
      height_(gif.Screen().height),
      loop_count_(std::max(gif.LoopCount(), 0)),
      strip_(std::make_shared<const TMyBitmap>(BuildGifStrip(gif))) {
  for (const GifImageRecord& image : gif.Images()) {
    transparent_ = transparent_ || image.TransparentIndex() >= 0;
    frames_.push_back(TgfFrame{image.left, image.top, image.width, image.height,
                               std::max(kMinimumFrameDelayMs, image.Delay() * 10),
                               static_cast<std::uint8_t>(image.Disposal())});
  }
  if (Animated()) left_disposal_ = kDisposalRestoreBackground;
}

TGIFImage::TGIFImage(const TGIFImage& other)
    : clock_(other.clock_),
      width_(other.width_),
      height_(other.height_),
      loop_count_(other.loop_count_),
      transparent_(other.transparent_),
      visible_(other.visible_),
      strip_(other.strip_),
      frames_(other.frames_) {
  if (Animated()) left_disposal_ = kDisposalRestoreBackground;
}

void TGIFImage::SetAnimate(bool on) {
  if (on == animating_) return;
  animating_ = on;
  current_loop_ = 1;
  if (on && NumFrames() > 1) {
    interval_ms_ = static_cast<std::uint32_t>(
        std::max(frames_[static_cast<std::size_t>(current_frame_ - 1)].FrameDelay, 1));
    last_change_ms_ = clock_();
  }
}

void TGIFImage::SetCurrentFrame(int frame) {
  if (frame == current_frame_) return;
  if (current_frame_ >= 1 && current_frame_ <= NumFrames())
    left_disposal_ = frames_[static_cast<std::size_t>(current_frame_ - 1)].FrameDisposal;
  current_frame_ = frame > NumFrames() ? 1 : frame <= 0 ? NumFrames() : frame;
}

void TGIFImage::AdvanceAnimation(TPaintPanel& panel) {
  if (!animating_) return;
  const std::uint32_t now = clock_();
  // Unsigned difference: right across a wrap of the tick count.
  if (now - last_change_ms_ < interval_ms_) return;
  last_change_ms_ = now;
  if (current_frame_ == NumFrames()) {
    if (loop_count_ > 0 && current_loop_ >= loop_count_) {
      animating_ = false;
      return;
    }
    ++current_loop_;
  }
  const int next = current_frame_ >= 1 && current_frame_ < NumFrames() ? current_frame_ + 1 : 1;
  SetCurrentFrame(next);
  panel.InvalidateRect(last_rect_, true);
  interval_ms_ = static_cast<std::uint32_t>(
      std::max(frames_[static_cast<std::size_t>(current_frame_ - 1)].FrameDelay, 1));
}

TGIFImage::Placement TGIFImage::PlacementOf(int frame) const {
  const TgfFrame& f = frames_[static_cast<std::size_t>(frame - 1)];
  // The slot holds the frame's first min(width, screen width) columns and rows; a frame
  // reaching past the screen is cut at its edge so it never draws outside the picture.
  const int left = std::min(f.FrameLeft, width_), top = std::min(f.FrameTop, height_);
  const int w = std::min({f.FrameWidth, width_, width_ - left});
  const int h = std::min({f.FrameHeight, height_, height_ - top});
  const int slot = (frame - 1) * width_;
  return {TRect{left, top, left + w, top + h}, TRect{slot, 0, slot + w, h}};
}

TRect TGIFImage::Scaled(const TRect& r, double sx, double sy, int dx, int dy) const {
  const auto round = [](double v) { return static_cast<int>(std::lround(v)); };
  return TRect{round(r.left * sx) + dx, round(r.top * sy) + dy, round(r.right * sx) + dx,
               round(r.bottom * sy) + dy};
}

void TGIFImage::PrepareComposite(TAnimationCanvas& canvas, int x, int y, int w, int h,
                                 TAnimationBackground& document) {
  const bool fits = composite_ && composite_->Width() == w && composite_->Height() == h;
  if (current_frame_ != 1 && fits) return;
  if (fits) {
    canvas.CopyToBitmap(x, y, *composite_);
  } else {
    composite_.emplace(w, h, 24);
    document.FillBackground(*composite_, x, y);
  }
  saved_background_ = *composite_;
}

void TGIFImage::DrawFrame(const TRect& dest, const Placement& p, TAnimationCanvas& canvas) {
  canvas.StretchDraw(dest, strip_->bitmap, p.source, strip_->HasMask() ? &strip_->mask : nullptr);
}

void TGIFImage::DrawAnimated(TAnimationCanvas& canvas, int x, int y, int w, int h,
                             TAnimationBackground& document) {
  last_rect_ = TRect{x, y, x + w, y + h};
  if (!visible_ || frames_.empty() || w <= 0 || h <= 0 || width_ <= 0 || height_ <= 0) return;
  if (current_frame_ < 1 || current_frame_ > NumFrames()) current_frame_ = 1;
  const double sx = static_cast<double>(w) / width_, sy = static_cast<double>(h) / height_;
  const Placement p = PlacementOf(current_frame_);
  PrepareComposite(canvas, x, y, w, h, document);

  canvas.DrawBitmap(x, y, *composite_);
  DrawFrame(Scaled(p.frame, sx, sy, x, y), p, canvas);

  // Leave the composite as the next frame must find it. It still holds what was there
  // before this frame was drawn, so "restore to previous" is to leave it as it is; it is
  // also what a repaint of this frame draws the frame over again.
  const TRect in_composite = Scaled(p.frame, sx, sy, 0, 0);
  switch (frames_[static_cast<std::size_t>(current_frame_ - 1)].FrameDisposal) {
    case kDisposalRestoreBackground:
      StretchBlit(*composite_, in_composite, *saved_background_, in_composite, nullptr);
      break;
    case kDisposalRestorePrevious: break;
    default:
      StretchBlit(*composite_, in_composite, strip_->bitmap, p.source,
                  strip_->HasMask() ? &strip_->mask : nullptr);
      break;
  }
}

const PixelImage& TGIFImage::Bitmap() {
  if (!single_bitmap_) {
    single_bitmap_.emplace(width_, height_, 24);
    StretchBlit(*single_bitmap_, TRect{0, 0, width_, height_}, strip_->bitmap,
                TRect{0, 0, width_, height_}, nullptr);
  }
  return *single_bitmap_;
}

const PixelImage* TGIFImage::Mask() {
  if (!transparent_ || !strip_->HasMask()) return nullptr;
  if (!single_mask_) {
    // Frame 1's slot starts at bit 0 of every strip row: copy whole bytes and clear the
    // bits of frame 2 that share the last one.
    single_mask_.emplace(width_, height_, 1);
    single_mask_->Colors() = strip_->mask.Colors();
    const std::size_t bytes = (static_cast<std::size_t>(width_) + 7) / 8;
    const auto last_bits = static_cast<std::uint8_t>(0xFF00 >> (((width_ - 1) & 7) + 1));
    for (int y = 0; y < height_ && bytes > 0; ++y) {
      std::uint8_t* row = single_mask_->Row(y);
      std::memcpy(row, strip_->mask.Row(y), bytes);
      row[bytes - 1] &= last_bits;
    }
  }
  return &*single_mask_;
}

std::unique_ptr<TGIFImage> LoadGifImage(std::span<const std::uint8_t> stream, MillisecondClock clock) {
  TGif gif;
  gif.LoadFromStream(stream);
  return std::make_unique<TGIFImage>(gif, std::move(clock));
}

std::unique_ptr<TGIFImage> CreateGifImage(std::span<const std::uint8_t> stream, bool& non_animated) {
  non_animated = true;
  try {
    auto image = LoadGifImage(stream);
    non_animated = image->NumFrames() < 2;
    return image;
  } catch (const EInvalidGraphicOperation&) {
    return nullptr;
  } catch (const std::bad_alloc&) {
    // A picture too big for the memory left is not shown either.
    return nullptr;
  }
}

std::unique_ptr<TGIFImage> CreateGifImageFromFile(const std::string& file_name, bool& non_animated) {
  non_animated = true;
  const platform::BoundedFile file = platform::ReadBoundedFile(file_name, platform::kPictureFileLimit);
  if (!file.ok()) return nullptr;
  return CreateGifImage(file.Bytes(), non_animated);
}

}  // namespace tessival::imaging
