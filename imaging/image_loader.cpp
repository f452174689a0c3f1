#include "imaging/image_loader.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "imaging/bmp_reader.h"
#include "imaging/image_format.h"
#include "imaging/jpeg_reader.h"
#include "imaging/platform_bitmaps.h"
#include "imaging/png_image.h"
#include "imaging/png_transparency.h"
#include "imaging/reduce_colors.h"
#include "platform/bounded_file.h"
#include "platform/display_depth.h"

namespace tessival::imaging {
namespace {

platform::TColor FromRgb(std::uint32_t rgb) {
  return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

platform::TBitmap DecodeJpeg(std::span<const std::uint8_t> data) {
  const TJpegOutput output = platform::DisplayDepth::Class() == 24 ? TJpegOutput::kTrueColor24
                                                                   : TJpegOutput::kPalette8;
  return ReadJpegBitmap(data, output);
}

platform::TBitmap DecodePng(std::span<const std::uint8_t> data, std::uint8_t& transparency,
                            std::uint32_t& mask_rgb) {
  if (HasPngTransparency(data)) transparency = kFromPng;
  TPNGImage png;
  png.LoadFromStream(data);
  // An RGB picture is masked by its tRNS colour; a palette picture by entry 0 of its table.
  mask_rgb = transparency == kFromPng ? PngMaskColor(png) : 0;
  return ToPlatformBitmap(png.Bitmap());
}

// A GIF of one frame is a still picture: its bitmap, and its own mask when it has a
// transparent colour.
TLoadedImage StillFromGif(std::unique_ptr<TGIFImage> gif, std::uint8_t& transparency, BitmapPtr& mask) {
  TLoadedImage result;
  result.Bitmap = std::make_unique<platform::TBitmap>(ToPlatformBitmap(gif->Bitmap()));
  if (gif->IsTransparent() && gif->Mask()) {
    mask = std::make_unique<platform::TBitmap>(ToPlatformBitmap(*gif->Mask()));
    transparency = kFromImage;
  } else if (transparency == kByLowerLeftPixel) {
    mask = MakeMask(*result.Bitmap, TMaskColor::kLowerLeftPixel);
  }
  return result;
}

TLoadedImage FromGif(std::unique_ptr<TGIFImage> gif, bool non_animated, std::uint8_t& transparency,
                     BitmapPtr& mask) {
  if (non_animated) return StillFromGif(std::move(gif), transparency, mask);
  TLoadedImage result;
  result.Animated = std::move(gif);
  return result;
}

// The palette index of pixel x in a row of 1, 4 or 8 bits (most significant bits first).
std::size_t IndexAt(const std::uint8_t* row, int x, int bits) {
  switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
    default: return row[x];
  }
}

// An indexed bitmap in 24 bits, through a table of its palette's colours.
platform::TBitmap ExpandTo24(const platform::TBitmap& indexed) {
  platform::TBitmap out(indexed.Width(), indexed.Height(), platform::PixelFormat::pf24bit);
  std::array<platform::TColor, 256> colors{};
  for (int i = 0; i < indexed.Palette().Count(); ++i)
    colors[static_cast<std::size_t>(i)] = indexed.Palette().ColorAt(i);
  const int bits = indexed.BitsPerPixel();
  for (int y = 0; y < indexed.Height(); ++y) {
    const std::uint8_t* in = indexed.ScanLine(y);
    std::uint8_t* row = out.ScanLine(y);
    for (int x = 0; x < indexed.Width(); ++x, row += 3) {
      const platform::TColor color = colors[IndexAt(in, x, bits)];
      row[0] = static_cast<std::uint8_t>(color >> 16);
      row[1] = static_cast<std::uint8_t>(color >> 8);
      row[2] = static_cast<std::uint8_t>(color);
    }
  }
  return out;
}

bool HasGifExtension(const std::string& file_name) {
  const std::size_t dot = file_name.find_last_of("./");
  if (dot == std::string::npos || file_name[dot] != '.') return false;
  std::string extension = file_name.substr(dot, 10);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".gif";
}

}  // namespace

BitmapPtr LoadImageFromStream(std::span<const std::uint8_t> data, std::uint8_t& transparency,
                              BitmapPtr& mask) {
  mask.reset();
  if (data.size() < kMinimumImageBytes) return nullptr;
  const TImageFormat format = DetectImageFormat(data);
  if (format != TImageFormat::kBmp && format != TImageFormat::kPng && format != TImageFormat::kJpeg)
    return nullptr;
  try {
    platform::TBitmap bitmap;
    std::uint32_t mask_rgb = 0;
    if (format == TImageFormat::kJpeg) {
      transparency = kNotTransparent;
      bitmap = DecodeJpeg(data);
    } else if (format == TImageFormat::kPng) {
      bitmap = DecodePng(data, transparency, mask_rgb);
    } else {
      bitmap = ToPlatformBitmap(ReadBmp(data));
    }
    if (transparency == kByLowerLeftPixel) mask = MakeMask(bitmap, TMaskColor::kLowerLeftPixel);
    if (transparency == kFromPng) mask = MakeMask(bitmap, TMaskColor::kUseColor, FromRgb(mask_rgb));
    return std::make_unique<platform::TBitmap>(ConvertForDisplay(std::move(bitmap)));
  } catch (const std::exception&) {
    // Any decoder failure (including a size the platform refuses) means no picture.
    return nullptr;
  }
}

BitmapPtr LoadImageFromFileByContent(const std::string& file_name, std::uint8_t& transparency,
                                     BitmapPtr& mask) {
  mask.reset();
  // A page names any path it likes: only a regular file of a picture's size is read.
  const platform::BoundedFile file = platform::ReadBoundedFile(file_name, platform::kPictureFileLimit);
  if (!file.ok()) return nullptr;
  return LoadImageFromStream(file.Bytes(), transparency, mask);
}

TLoadedImage LoadImageFile(const std::string& file_name, std::uint8_t& transparency, BitmapPtr& mask) {
  mask.reset();
  if (HasGifExtension(file_name)) {
    bool non_animated = true;
    if (auto gif = CreateGifImageFromFile(file_name, non_animated))
      return FromGif(std::move(gif), non_animated, transparency, mask);
  }
  TLoadedImage result;
  result.Bitmap = LoadImageFromFileByContent(file_name, transparency, mask);
  return result;
}

TLoadedImage LoadImageData(std::span<const std::uint8_t> data, std::uint8_t& transparency,
                           BitmapPtr& mask) {
  mask.reset();
  if (IsGif(DetectImageFormat(data))) {
    bool non_animated = true;
    if (auto gif = CreateGifImage(data, non_animated))
      return FromGif(std::move(gif), non_animated, transparency, mask);
  }
  TLoadedImage result;
  result.Bitmap = LoadImageFromStream(data, transparency, mask);
  return result;
}

BitmapPtr MakeMask(const platform::TBitmap& bitmap, TMaskColor which, platform::TColor color) {
  if (bitmap.Empty()) return nullptr;
  try {
    const int width = bitmap.Width(), height = bitmap.Height();
    const platform::TColor see_through = which == TMaskColor::kUseColor ? platform::PlainColor(color)
                                                                        : bitmap.GetPixel(0, height - 1);
    auto mask = std::make_unique<platform::TBitmap>(width, height, platform::PixelFormat::pf1bit);
    // Row by row, straight from the bits: a large picture must not cost a palette search
    // or a conversion per pixel.
    std::array<bool, 256> index_matches{};
    for (int i = 0; i < bitmap.Palette().Count(); ++i)
      index_matches[static_cast<std::size_t>(i)] = bitmap.Palette().ColorAt(i) == see_through;
    const int bits = bitmap.BitsPerPixel();
    const std::array<std::uint8_t, 3> bgr = {static_cast<std::uint8_t>(see_through >> 16),
                                             static_cast<std::uint8_t>(see_through >> 8),
                                             static_cast<std::uint8_t>(see_through)};
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* in = bitmap.ScanLine(y);
      std::uint8_t* out = mask->ScanLine(y);
      for (int x = 0; x < width; ++x) {
        bool hit = false;
        if (bits >= 24) {
          const std::uint8_t* p = in + static_cast<std::size_t>(x) * static_cast<std::size_t>(bits / 8);
          hit = p[0] == bgr[0] && p[1] == bgr[1] && p[2] == bgr[2];
        } else {
          hit = index_matches[IndexAt(in, x, bits)];
        }
        if (hit) out[x >> 3] |= static_cast<std::uint8_t>(0x80 >> (x & 7));
      }
    }
    return mask;
  } catch (const std::exception&) {
    return nullptr;
  }
}

platform::TBitmap ConvertForDisplay(platform::TBitmap bitmap) {
  const int display = platform::DisplayDepth::Class();
  if (display == 24) {
    if (bitmap.BitsPerPixel() >= 15 || bitmap.Empty()) return bitmap;
    return ExpandTo24(bitmap);
  }
  if (bitmap.BitsPerPixel() <= 8 || bitmap.Empty()) return bitmap;
  const TDisplayClass target = display == 8 ? TDisplayClass::Bits8 : TDisplayClass::Bits4;
  return ToPlatformBitmap(ReduceForDisplay(FromPlatformBitmap(bitmap), target));
}

}  // namespace tessival::imaging
