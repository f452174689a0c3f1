// Image loading benchmark: our bitmap reader against stb_image, our JPEG path (bytes to a
// platform bitmap) against the JPEG library's own TurboJPEG call, and a page of 200 small
// pictures (100 distinct) laid out with images shown and off. Medians of this thread's
// processor time over RUNS alternating runs.
//
//   build-bench/bench/imaging/image_loading_bench [RUNS]
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <turbojpeg.h>
// clang-format on
#include <stb_image.h>

#include "bench_inputs.h"
#include "bench_timing.h"
#include "bmp_builder.h"
#include "imaging/bmp_reader.h"
#include "imaging/image_loader.h"
#include "imaging/platform_bitmaps.h"
#include "layout/section_list.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"
#include "png_builder.h"

using namespace tessival;
using bench::Median;
using bench::TimeMs;
using Bytes = std::vector<std::uint8_t>;

namespace {

volatile std::uint64_t sink;

void Compare(const std::string& name, int runs, const std::function<void()>& ours,
             const std::function<void()>& theirs, const std::string& reference, double goal) {
  std::vector<double> a, b;
  ours();
  theirs();
  for (int i = 0; i < runs; ++i) {
    a.push_back(TimeMs(ours));
    b.push_back(TimeMs(theirs));
  }
  const double ratio = Median(a) / Median(b);
  std::printf("| %s | %.2f | %.2f (%s) | %.3f | <= %.2f %s |\n", name.c_str(), Median(a), Median(b),
              reference.c_str(), ratio, goal, ratio <= goal ? "met" : "MISSED");
  std::fflush(stdout);
}

// The photo as a BMP of 24, 8 or 4 bits (indexed ones through a grey-ramp table).
Bytes PhotoBmp(const imaging::PixelImage& photo, int bits) {
  imaging::test::BmpShape shape;
  shape.width = photo.Width();
  shape.height = photo.Height();
  shape.bits = bits;
  const std::size_t stride = imaging::PixelImage::StrideFor(shape.width, bits);
  shape.pixels.assign(stride * static_cast<std::size_t>(shape.height), 0);
  const int levels = bits == 24 ? 0 : 1 << bits;
  for (int i = 0; i < levels; ++i) {
    const auto v = static_cast<std::uint32_t>(i * 255 / (levels - 1));
    shape.palette.push_back((v << 16) | (v << 8) | v);
  }
  for (int y = 0; y < shape.height; ++y) {
    std::uint8_t* row = shape.pixels.data() + stride * static_cast<std::size_t>(shape.height - 1 - y);
    for (int x = 0; x < shape.width; ++x) {
      const std::uint32_t rgb = photo.ColorAt(x, y);
      if (bits == 24) {
        row[3 * x] = rgb & 0xFF, row[3 * x + 1] = (rgb >> 8) & 0xFF, row[3 * x + 2] = rgb >> 16;
        continue;
      }
      const int grey = static_cast<int>(((rgb >> 16) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF)) / 3);
      const int index = grey * (levels - 1) / 255;
      if (bits == 8) row[x] = static_cast<std::uint8_t>(index);
      else row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? index : index << 4);
    }
  }
  return imaging::test::MakeBmp(shape);
}

Bytes EncodeJpeg(const imaging::PixelImage& photo) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(photo.Width());
  info.image_height = static_cast<JDIMENSION>(photo.Height());
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 85, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(photo.Row(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

void BenchBmp(int runs, const imaging::PixelImage& photo) {
  for (int bits : {24, 8, 4}) {
    const Bytes file = PhotoBmp(photo, bits);
    Compare(
        "BMP 1920 x 1080, " + std::to_string(bits) + " bits, to a bitmap", runs,
        [&] {
          // The whole path a picture takes to the screen: read, then converted for a
          // true-colour display (indexed pictures become 24-bit, as stb_image's do).
          std::uint8_t transparency = 0;
          imaging::BitmapPtr mask;
          sink = imaging::LoadImageFromStream(file, transparency, mask)->ByteSize();
        },
        [&] {
          int w = 0, h = 0, n = 0;
          stbi_uc* pixels = stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &n,
                                                  0);
          sink = pixels ? pixels[0] : 0;
          stbi_image_free(pixels);
        },
        "stb_image", 0.8);
  }
}

void BenchJpeg(int runs, const imaging::PixelImage& photo) {
  const Bytes file = EncodeJpeg(photo);
  tjhandle handle = tjInitDecompress();
  std::vector<unsigned char> rgb(static_cast<std::size_t>(photo.Width()) * photo.Height() * 3);
  Compare(
      "JPEG 1920 x 1080 to a platform bitmap", runs,
      [&] {
        std::uint8_t transparency = 0;
        imaging::BitmapPtr mask;
        sink = imaging::LoadImageFromStream(file, transparency, mask)->ByteSize();
      },
      [&] {
        tjDecompress2(handle, file.data(), static_cast<unsigned long>(file.size()), rgb.data(),
                      photo.Width(), 0, photo.Height(), TJPF_RGB, 0);
        sink = rgb[0];
      },
      "tjDecompress2 to RGB", 1.1);
  // A decode that hands back a new picture each time, as ours does, pays for fresh memory too.
  Compare(
      "JPEG 1920 x 1080 to a platform bitmap (reference into a new buffer)", runs,
      [&] {
        std::uint8_t transparency = 0;
        imaging::BitmapPtr mask;
        sink = imaging::LoadImageFromStream(file, transparency, mask)->ByteSize();
      },
      [&] {
        std::vector<unsigned char> fresh(rgb.size());
        tjDecompress2(handle, file.data(), static_cast<unsigned long>(file.size()), fresh.data(),
                      photo.Width(), 0, photo.Height(), TJPF_RGB, 0);
        sink = fresh[0];
      },
      "tjDecompress2 to RGB", 1.1);
  tjDestroy(handle);
}

// 200 pictures of 32 x 32 (100 distinct files, each used twice) among text.
void BenchPage(int runs) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tessival_image_page_bench";
  std::filesystem::create_directories(dir);
  std::string html = "<html><body>";
  for (int i = 0; i < 100; ++i) {
    const Bytes png = imaging::test::MakePng(imaging::test::Pattern(32, 32, 8, 2, 200 + i % 50), false,
                                             1);
    std::ofstream((dir / ("p" + std::to_string(i) + ".png")).string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  }
  for (int i = 0; i < 200; ++i)
    html += "Bild " + std::to_string(i) + " <img src=\"" +
            (dir / ("p" + std::to_string(i % 100) + ".png")).string() + "\"> und Text dazu. ";
  html += "</body></html>";
  html::TStringBitmapList cache;  // what the viewer keeps between documents
  const auto layOut = [&](bool images, int* decodes) {
    layout::TSectionList doc;
    doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
    doc.ShowImages = images;
    doc.Images.Shared = &cache;
    layout::ParseDocument(html, doc);
    platform::TestCanvas canvas(800, 100);
    int pos = 0, maxWidth = 0;
    sink = static_cast<std::uint64_t>(doc.Layout(canvas, 0, pos, maxWidth, 600, 800));
    if (decodes) *decodes = doc.Images.Decodes;
  };
  std::vector<double> off, cold, warm;
  int coldDecodes = 0, warmDecodes = 0;
  for (int i = 0; i < runs; ++i) {
    off.push_back(TimeMs([&] { layOut(false, nullptr); }));
    cache.Clear();
    cold.push_back(TimeMs([&] { layOut(true, &coldDecodes); }));
    warm.push_back(TimeMs([&] { layOut(true, &warmDecodes); }));
  }
  std::printf(
      "| page of 200 pictures (100 distinct), parse + layout | images off %.2f | shown, cache empty "
      "%.2f "
      "(%d decodes) | shown, cache filled %.2f (%d decodes) |\n",
      Median(off), Median(cold), coldDecodes, Median(warm), warmDecodes);
  std::filesystem::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  const imaging::PixelImage photo = bench::MakePhoto(1920, 1080);
  std::printf("| case | ours ms | reference ms | ratio | goal |\n|---|---|---|---|---|\n");
  BenchBmp(runs, photo);
  BenchJpeg(runs, photo);
  BenchPage(runs);
  return 0;
}
