#pragma once
// Turns a picture's bytes or file into something the screen can draw: a platform bitmap
// with an optional transparency mask, or an animated GIF. The format is judged by the
// first bytes (a GIF read from a file is the one exception: see LoadImageFile), every
// decoder failure gives "no picture", and the result is converted for the display class.
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "imaging/gif_image.h"
#include "platform/bitmap.h"

namespace tessival::imaging {

// Where a picture's transparency comes from. Passed in (what the caller asks for) and out
// (what the picture has); with every kind but kNone a mask comes with the picture, white
// where the picture is transparent.
enum TTransparency : std::uint8_t {
  kNotTransparent = 0,
  kByLowerLeftPixel = 1,  // the caller asks: the lower-left pixel's colour is see-through
  kFromImage = 2,         // a GIF's transparent index, or a colour the host named
  kFromPng = 3,           // a PNG's tRNS chunk
};

// Streams this short hold no picture worth a decoder's time.
constexpr std::size_t kMinimumImageBytes = 20;

using BitmapPtr = std::unique_ptr<platform::TBitmap>;

// A loaded picture: a still bitmap or an animated GIF (never both).
struct TLoadedImage {
  BitmapPtr Bitmap;
  std::unique_ptr<TGIFImage> Animated;
  explicit operator bool() const { return Bitmap || Animated; }
};

// BMP, PNG and JPEG bytes. Nothing for fewer than kMinimumImageBytes, another format or a
// decoder failure; a mask made before the failure is still handed back.
BitmapPtr LoadImageFromStream(std::span<const std::uint8_t> data, std::uint8_t& transparency,
                              BitmapPtr& mask);
// The same for a file; nothing when it cannot be read.
BitmapPtr LoadImageFromFileByContent(const std::string& file_name, std::uint8_t& transparency,
                                     BitmapPtr& mask);
// A file named "*.gif" is read as a GIF first; everything else (and a GIF that fails) by
// content. A single-frame GIF comes back as a plain bitmap with its mask.
TLoadedImage LoadImageFile(const std::string& file_name, std::uint8_t& transparency, BitmapPtr& mask);
// Bytes a host handed over: GIF by content, else as LoadImageFromStream.
TLoadedImage LoadImageData(std::span<const std::uint8_t> data, std::uint8_t& transparency,
                           BitmapPtr& mask);

// A 1-bit mask, white where the pixel has `color` (with kUseColor) or the colour of the
// lower-left pixel. Nothing for an empty bitmap.
enum class TMaskColor { kLowerLeftPixel, kUseColor };
BitmapPtr MakeMask(const platform::TBitmap& bitmap, TMaskColor which, platform::TColor color = 0);

// The bitmap as the display class keeps it: on true-colour displays indexed pictures become
// 24-bit; on palette displays true-colour pictures are dithered onto the system palette
// (class 4) or the program palette (class 8).
platform::TBitmap ConvertForDisplay(platform::TBitmap bitmap);

}  // namespace tessival::imaging
