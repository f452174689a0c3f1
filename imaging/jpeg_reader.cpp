#include "imaging/jpeg_reader.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
// clang-format on

#include <algorithm>
#include <string>
#include <vector>

#include "imaging/decode_budget.h"

namespace tessival::imaging {
namespace {

// The library reports fatal errors through a callback that must not return; it jumps back
// to the decoding function, whose frame holds only plain data, so nothing is skipped.
struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnFatalError(j_common_ptr info) {
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->message);
  std::longjmp(manager->jump, 1);
}

// Corrupt-data warnings would go to standard error; the picture is shown as decoded.
void OnMessage(j_common_ptr /*info*/) {}

// Called between the steps of the decoding: a progressive file of endless scans is given
// up (through the same jump as a fatal error) instead of keeping the decoder busy.
void OnProgress(j_common_ptr info) {
  if (info->is_decompressor == 0) return;
  const auto& d = *reinterpret_cast<j_decompress_ptr>(info);
  const auto scans = static_cast<std::uint64_t>(std::max(d.input_scan_number, 0));
  const std::uint64_t pixels = std::uint64_t{d.image_width} * d.image_height;
  if (scans <= kMaxJpegScans && scans * pixels <= kMaxJpegScanPixels) return;
  auto* manager = reinterpret_cast<ErrorManager*>(info->err);
  std::snprintf(manager->message, sizeof manager->message, "too many scans (%d)", d.input_scan_number);
  std::longjmp(manager->jump, 1);
}

struct Decompressor {
  jpeg_decompress_struct info{};
  ErrorManager errors{};
  jpeg_progress_mgr progress{};
  Decompressor() {
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnFatalError;
    errors.base.output_message = OnMessage;
    jpeg_create_decompress(&info);
    progress.progress_monitor = OnProgress;
    info.progress = &progress;
  }
  ~Decompressor() { jpeg_destroy_decompress(&info); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
};

Palette ColorMapOf(const jpeg_decompress_struct& info) {
  Palette palette(256);
  for (int i = 0; i < info.actual_number_of_colors && i < 256; ++i) {
    const auto channel = [&](int c) { return info.colormap[info.out_color_components == 1 ? 0 : c][i]; };
    palette[static_cast<std::size_t>(i)] = PaletteEntry{channel(0), channel(1), channel(2), 0};
  }
  return palette;
}

// Where the decoded rows go: our pixel buffer, or straight into a platform bitmap (which
// saves the screen path a copy of the whole picture).
class JpegTarget {
 public:
  virtual ~JpegTarget() = default;
  virtual void Allocate(int width, int height, int bits) = 0;
  virtual void SetColors(Palette palette) = 0;
  virtual std::uint8_t* Row(int y) = 0;
};

class PixelTarget final : public JpegTarget {
 public:
  void Allocate(int width, int height, int bits) override { image = PixelImage(width, height, bits); }
  void SetColors(Palette palette) override { image.Colors() = std::move(palette); }
  std::uint8_t* Row(int y) override { return image.Row(y); }
  PixelImage image;
};

class BitmapTarget final : public JpegTarget {
 public:
  void Allocate(int width, int height, int bits) override {
    bitmap.SetSize(width, height,
                   bits == 8 ? platform::PixelFormat::pf8bit : platform::PixelFormat::pf24bit);
  }
  void SetColors(Palette palette) override { bitmap.SetPalette(platform::TPalette(std::move(palette))); }
  std::uint8_t* Row(int y) override { return bitmap.ScanLine(y); }
  platform::TBitmap bitmap;
};

// Returns false after a fatal library error (message in the error manager). Only plain
// data lives in this frame across setjmp; `out` belongs to the caller.
bool Decode(Decompressor& d, std::span<const std::uint8_t> data, TJpegOutput output, JpegTarget& out,
            std::vector<JSAMPROW>& rows) {
  if (setjmp(d.errors.jump) != 0) return false;
  jpeg_mem_src(&d.info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d.info, TRUE);
  if (output == TJpegOutput::kPalette8) {
    d.info.out_color_space = d.info.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    d.info.quantize_colors = TRUE;
    d.info.desired_number_of_colors = 256;
  } else {
    d.info.out_color_space = JCS_EXT_BGR;  // the byte order of our 24-bit rows
  }
  jpeg_calc_output_dimensions(&d.info);
  CheckImageSize(d.info.output_width, d.info.output_height);
  jpeg_start_decompress(&d.info);
  out.Allocate(static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height),
               output == TJpegOutput::kPalette8 ? 8 : 24);
  if (output == TJpegOutput::kPalette8) out.SetColors(ColorMapOf(d.info));
  // Handing the library every row at once lets it write whole row groups in place instead
  // of going through its spare row for each single row.
  rows.resize(d.info.output_height);
  for (JDIMENSION y = 0; y < d.info.output_height; ++y) rows[y] = out.Row(static_cast<int>(y));
  while (d.info.output_scanline < d.info.output_height) {
    const JDIMENSION at = d.info.output_scanline;
    if (jpeg_read_scanlines(&d.info, rows.data() + at, d.info.output_height - at) == 0) break;
  }
  jpeg_finish_decompress(&d.info);
  return true;
}

}  // namespace

namespace {

template <class Target>
Target DecodeInto(std::span<const std::uint8_t> data, TJpegOutput output) {
  if (data.empty()) throw EJpegError("empty JPEG data");
  Decompressor d;
  Target out;
  std::vector<JSAMPROW> rows;
  if (!Decode(d, data, output, out, rows))
    throw EJpegError(std::string("JPEG error: ") + d.errors.message);
  return out;
}

}  // namespace

PixelImage ReadJpeg(std::span<const std::uint8_t> data, TJpegOutput output) {
  return std::move(DecodeInto<PixelTarget>(data, output).image);
}

platform::TBitmap ReadJpegBitmap(std::span<const std::uint8_t> data, TJpegOutput output) {
  return std::move(DecodeInto<BitmapTarget>(data, output).bitmap);
}

}  // namespace tessival::imaging
