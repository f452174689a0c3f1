#pragma once
// A decoded GIF as the viewer keeps it: the frame strip, the frames' places and timing,
// and the animation that steps through them.
//
// Animation states (one flag, changed only by SetAnimate and AdvanceAnimation):
//
//   stopped --SetAnimate(true)--> animating --last frame of the last loop--> stopped
//      ^                              |
//      +------SetAnimate(false)-------+
//
// While animating, AdvanceAnimation moves to the next frame once the current frame's delay
// has passed on the injected millisecond clock, and invalidates the picture's last area.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imaging/animation_canvas.h"
#include "imaging/gif_strip.h"

namespace tessival::imaging {

struct TgfFrame {
  int FrameLeft = 0;
  int FrameTop = 0;
  int FrameWidth = 0;
  int FrameHeight = 0;
  int FrameDelay = 0;  // milliseconds
  std::uint8_t FrameDisposal = 0;
};

using MillisecondClock = std::function<std::uint32_t()>;

// The monotonic milliseconds of the system (wraps like a 32-bit tick count).
std::uint32_t SystemMilliseconds();

class TGIFImage {
 public:
  explicit TGIFImage(const TGif& gif, MillisecondClock clock = SystemMilliseconds);
  // A copy shares the strip and starts at frame 1 of loop 1.
  TGIFImage(const TGIFImage& other);
  TGIFImage& operator=(const TGIFImage&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  int NumFrames() const { return static_cast<int>(frames_.size()); }
  bool Animated() const { return NumFrames() > 1; }
  int LoopCount() const { return loop_count_; }  // 0 = forever
  bool IsTransparent() const { return transparent_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { visible_ = visible; }
  const std::vector<TgfFrame>& Frames() const { return frames_; }
  const TMyBitmap& Strip() const { return *strip_; }

  bool Animate() const { return animating_; }
  void SetAnimate(bool on);
  int CurrentFrame() const { return current_frame_; }
  void SetCurrentFrame(int frame);
  int CurrentLoop() const { return current_loop_; }
  int LeftDisposal() const { return left_disposal_; }

  // Called by the document's animation timer.
  void AdvanceAnimation(TPaintPanel& panel);
  // Draws the current frame into (x, y, x + w, y + h).
  void DrawAnimated(TAnimationCanvas& canvas, int x, int y, int w, int h,
                    TAnimationBackground& document);
  const TRect& LastRect() const { return last_rect_; }

  // The first frame alone: the first Width columns of the strip, and its mask (only for a
  // transparent picture; otherwise nullptr).
  const PixelImage& Bitmap();
  const PixelImage* Mask();

 private:
  struct Placement {
    TRect frame;   // F, in logical-screen pixels, clipped to the screen
    TRect source;  // S, in the strip
  };
  Placement PlacementOf(int frame) const;
  TRect Scaled(const TRect& r, double sx, double sy, int dx, int dy) const;
  void PrepareComposite(TAnimationCanvas& canvas, int x, int y, int w, int h,
                        TAnimationBackground& document);
  void DrawFrame(const TRect& dest, const Placement& p, TAnimationCanvas& canvas);

  MillisecondClock clock_;
  int width_ = 0;
  int height_ = 0;
  int loop_count_ = 0;
  bool transparent_ = false;
  bool visible_ = true;
  std::shared_ptr<const TMyBitmap> strip_;  // shared by copies
  std::vector<TgfFrame> frames_;

  std::optional<PixelImage> composite_;
  std::optional<PixelImage> saved_background_;
  std::optional<PixelImage> single_bitmap_;
  std::optional<PixelImage> single_mask_;

  bool animating_ = false;
  int current_frame_ = 1;
  int current_loop_ = 1;
  std::uint32_t last_change_ms_ = 0;
  std::uint32_t interval_ms_ = 1;
  TRect last_rect_;
  int left_disposal_ = 0;
};

// Decodes a whole GIF stream. Throws EInvalidGraphicOperation.
std::unique_ptr<TGIFImage> LoadGifImage(std::span<const std::uint8_t> stream,
                                        MillisecondClock clock = SystemMilliseconds);

// The entry point of image loading: nothing on any failure. `non_animated` tells whether
// the GIF has fewer than two images.
std::unique_ptr<TGIFImage> CreateGifImage(std::span<const std::uint8_t> stream, bool& non_animated);
std::unique_ptr<TGIFImage> CreateGifImageFromFile(const std::string& file_name, bool& non_animated);

}  // namespace tessival::imaging
