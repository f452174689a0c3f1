// Imaging benchmark: our PNG and GIF decoders, GIF compositing and Floyd–Steinberg
// reduction against the reference libraries and tools, on the same generated inputs.
// Each case alternates ours and theirs; the figures are medians of processor time: this
// thread's for everything in-process, the children's user + system time for the tools, so
// that other work on the machine moves them little.
//
//   build-bench/bench/imaging/imaging_bench [RUNS [FILTER]]
// RUNS defaults to 11; FILTER runs only the cases whose name contains it.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "bench_timing.h"
#include "comparison_reductions.h"
#include "external_tools.h"
#include "imaging/bitmap_rows.h"
#include "imaging/gif_decoder.h"
#include "imaging/gif_image.h"
#include "imaging/pixel_canvas.h"
#include "imaging/png_image.h"
#include "imaging/reduce_colors.h"
#include "imaging/reduce_with_lookup.h"
#include "imaging/standard_palettes.h"
#include "reference_decoders.h"

using namespace tessival;
using bench::Median;
using bench::TimeMs;
using imaging::PixelImage;

namespace {

volatile std::uint64_t sink;
std::string filter;

void Report(const std::string& name, double ours, double theirs, const std::string& reference,
            double goal) {
  std::printf("| %s | %.2f | %.2f (%s) | %.3f | <= %.2f %s |\n", name.c_str(), ours, theirs,
              reference.c_str(), ours / theirs, goal, ours / theirs <= goal ? "met" : "MISSED");
  std::fflush(stdout);
}

// Alternates the two sides `runs` times and reports the medians.
void Compare(const std::string& name, int runs, const std::function<void()>& ours,
             const std::function<double()>& theirs_ms, const std::string& reference, double goal) {
  if (name.find(filter) == std::string::npos) return;
  std::vector<double> a, b;
  ours();  // warm-up of both sides
  theirs_ms();
  for (int i = 0; i < runs; ++i) {
    a.push_back(TimeMs(ours));
    b.push_back(theirs_ms());
  }
  Report(name, Median(a), Median(b), reference, goal);
}

std::function<double()> Timed(const std::function<void()>& work) {
  return [work] { return TimeMs(work); };
}

void DecodeOurPng(const bench::Bytes& file) {
  imaging::TPNGImage png;
  png.SetPixelFormat(imaging::TPngPixels::TrueColor);
  png.LoadFromStream(file);
  // Every result is 24 bits, as the reference's output is.
  if (png.Bitmap().BitsPerPixel() != 24) sink = imaging::ConvertTo24(png.Bitmap()).Bits()[0];
  else sink = png.Bitmap().Bits()[0];
}

void CompositeAllFrames(const bench::Bytes& file) {
  auto gif = imaging::LoadGifImage(file);
  imaging::TPixelCanvas canvas(gif->Width(), gif->Height());
  imaging::TSolidBackground black(0);
  for (int frame = 1; frame <= gif->NumFrames(); ++frame) {
    gif->SetCurrentFrame(frame);
    gif->DrawAnimated(canvas, 0, 0, gif->Width(), gif->Height(), black);
    sink = canvas.Surface().Bits()[0];
  }
}

imaging::Palette ArbitraryPalette() {
  imaging::Palette palette;
  std::uint32_t state = 99;
  for (int i = 0; i < 256; ++i) {
    state = state * 1664525u + 1013904223u;
    palette.push_back({static_cast<std::uint8_t>(state >> 24), static_cast<std::uint8_t>(state >> 16),
                       static_cast<std::uint8_t>(state >> 8), 0});
  }
  return palette;
}

void WritePaletteFile(const std::string& path, const imaging::Palette& palette) {
  PixelImage strip(static_cast<int>(palette.size()), 1, 24);
  for (std::size_t i = 0; i < palette.size(); ++i) {
    std::uint8_t* p = strip.Row(0) + 3 * i;
    p[0] = palette[i].blue;
    p[1] = palette[i].green;
    p[2] = palette[i].red;
  }
  bench::WritePpmFile(path, strip);
}

// Floyd–Steinberg reduction: ours in-process, theirs as a process with the processor time
// of a plain read-and-write of the same file subtracted.
void CompareReduction(const std::string& name, int runs, const std::function<PixelImage()>& ours,
                      const std::string& remap_command, const std::string& copy_command,
                      const std::string& reference, double goal) {
  if (name.find(filter) == std::string::npos) return;
  Compare(
      name, runs, [&] { sink = ours().Bits()[0]; },
      [&] { return bench::CommandProcessorMs(remap_command) - bench::CommandProcessorMs(copy_command); },
      reference, goal);
}

// How many pixels of `picture` are not exactly one of the palette's colours.
long OffPalettePixels(const PixelImage& picture, const imaging::Palette& palette) {
  std::vector<bool> in_palette(std::size_t{1} << 24);
  for (const imaging::PaletteEntry& e : palette)
    in_palette[(std::size_t{e.red} << 16) | (e.green << 8) | e.blue] = true;
  long off = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) off += in_palette[picture.ColorAt(x, y)] ? 0 : 1;
  return off;
}

// Every result's mean colour error is measured by the one function against the same photo;
// the tools' results are read back from their files and checked to use only palette colours.
void ReportColorError(const std::string& label, const PixelImage& photo, const PixelImage& result,
                      const imaging::Palette& palette, double yardstick) {
  const double error = bench::MeanColorError(photo, result);
  std::printf("|   %s | %.3f (%+.1f %%) | %.3f | %ld |\n", label.c_str(), error,
              100.0 * (error / yardstick - 1.0), bench::MeanBlockError(photo, result, 4),
              OffPalettePixels(result, palette));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  if (argc > 2) filter = argv[2];
  std::printf("| case | ours ms | reference ms | ratio | goal |\n|---|---|---|---|---|\n");
  for (const bench::NamedFile& file : bench::MakePngInputs())
    Compare(
        "PNG " + file.name + " (" + std::to_string(file.data.size() / 1024) + " KiB)", runs,
        [&] { DecodeOurPng(file.data); }, Timed([&] { sink = bench::LibpngDecode(file.data); }),
        "libpng simplified API", 0.9);

  const bench::Bytes still = bench::MakeGifStill();
  Compare(
      "GIF 1920x1080 256 colours to indexes", runs,
      [&] {
        imaging::TGif gif;
        gif.LoadFromStream(still);
      },
      Timed([&] { sink = static_cast<std::uint64_t>(bench::GiflibSlurp(still)); }), "giflib DGifSlurp",
      0.6);

  const bench::Bytes animation = bench::MakeGifAnimation();
  Compare(
      "GIF 60 frames 640x360 decoded and composited", runs, [&] { CompositeAllFrames(animation); },
      Timed([&] { sink = static_cast<std::uint64_t>(bench::StbLoadGif(animation)); }), "stb_image", 0.7);

  const PixelImage photo = bench::MakePhoto(1920, 1080);
  const std::string dir = "/tmp/tessival-imaging-bench";
  std::system(("mkdir -p " + dir).c_str());
  bench::WritePpmFile(dir + "/photo.ppm", photo);
  const imaging::Palette cube = imaging::CubePalette();
  WritePaletteFile(dir + "/cube.ppm", cube);
  const imaging::Palette arbitrary = ArbitraryPalette();
  WritePaletteFile(dir + "/arbitrary.ppm", arbitrary);
  const auto pnmremap = [&](const std::string& palette_file, const std::string& out) {
    return "pnmremap -quiet -floyd -mapfile=" + dir + "/" + palette_file + " " + dir + "/photo.ppm > " +
           dir + "/" + out;
  };
  CompareReduction(
      "Floyd-Steinberg 1920x1080 onto 6x6x6", runs,
      [&] {
        return imaging::ReduceColors(photo, imaging::TPaletteKind::Cube,
                                     imaging::TDitherMode::FloydSteinberg);
      },
      pnmremap("cube.ppm", "pnm_cube.ppm"), "pamtopnm " + dir + "/photo.ppm > " + dir + "/copy.ppm",
      "pnmremap -floyd", 0.25);
  CompareReduction(
      "Floyd-Steinberg 1920x1080 onto 256 arbitrary colours", runs,
      [&] { return imaging::ReduceToPalette(photo, arbitrary, imaging::TDitherMode::FloydSteinberg); },
      "convert " + dir + "/photo.ppm -dither FloydSteinberg -remap " + dir + "/arbitrary.ppm " + dir +
          "/im_arbitrary.ppm",
      "convert " + dir + "/photo.ppm " + dir + "/im_copy.ppm", "ImageMagick -remap", 0.1);

  // Where the colour error comes from: the same dithering through other lookups, next to
  // ours and the tools'.
  if (std::string("Floyd-Steinberg colour error").find(filter) == std::string::npos) return 0;
  const auto fs = imaging::TDitherMode::FloydSteinberg;
  bench::CommandProcessorMs(pnmremap("cube.ppm", "pnm_cube.ppm"));
  const PixelImage pnm_cube = bench::ReadPpmFile(dir + "/pnm_cube.ppm");
  const double cube_yardstick = bench::MeanColorError(photo, pnm_cube);
  std::printf(
      "\n| reduction | mean colour error (against pnmremap) | of 4x4 averages | off-palette pixels |\n"
      "|---|---|---|---|\n| onto 6x6x6 | | | |\n");
  ReportColorError("pnmremap -floyd", photo, pnm_cube, cube, cube_yardstick);
  ReportColorError("ours, levels (c + 3) div 51", photo,
                   imaging::ReduceColors(photo, imaging::TPaletteKind::Cube, fs), cube, cube_yardstick);
  bench::NearestLevelCubeLookup nearest_level;
  ReportColorError("no dithering, levels (c + 3) div 51", photo,
                   imaging::ReduceColors(photo, imaging::TPaletteKind::Cube,
                                         imaging::TDitherMode::Nearest),
                   cube, cube_yardstick);
  ReportColorError("same dithering, nearest level (c + 25) div 51", photo,
                   imaging::ReduceWithLookup(photo, cube, nearest_level, fs), cube, cube_yardstick);
  imaging::TCubeColorLookup prescribed_cube;
  ReportColorError("exact-fraction dithering, levels (c + 3) div 51", photo,
                   bench::TextbookFloydSteinberg(photo, cube, prescribed_cube), cube, cube_yardstick);
  ReportColorError("exact-fraction dithering, nearest level", photo,
                   bench::TextbookFloydSteinberg(photo, cube, nearest_level), cube, cube_yardstick);

  bench::CommandProcessorMs(pnmremap("arbitrary.ppm", "pnm_arbitrary.ppm"));
  const PixelImage pnm_arbitrary = bench::ReadPpmFile(dir + "/pnm_arbitrary.ppm");
  const double arbitrary_yardstick = bench::MeanColorError(photo, pnm_arbitrary);
  std::printf("| onto 256 arbitrary colours | | | |\n");
  ReportColorError("pnmremap -floyd", photo, pnm_arbitrary, arbitrary, arbitrary_yardstick);
  bench::CommandProcessorMs("convert " + dir + "/photo.ppm -dither FloydSteinberg -remap " + dir +
                            "/arbitrary.ppm " + dir + "/im_arbitrary.ppm");
  ReportColorError("ImageMagick -remap", photo, bench::ReadPpmFile(dir + "/im_arbitrary.ppm"), arbitrary,
                   arbitrary_yardstick);
  ReportColorError("ours, fast lookup (15-bit slots)", photo,
                   imaging::ReduceToPalette(photo, arbitrary, fs), arbitrary, arbitrary_yardstick);
  ReportColorError("no dithering, fast lookup", photo,
                   imaging::ReduceToPalette(photo, arbitrary, imaging::TDitherMode::Nearest), arbitrary,
                   arbitrary_yardstick);
  for (const auto& [label, distance] :
       {std::pair{"same dithering, exact nearest by summed differences",
                  bench::Distance::SumOfDifferences},
        std::pair{"same dithering, exact nearest by Euclidean distance", bench::Distance::Euclidean}}) {
    bench::ExactNearestLookup exact(arbitrary, distance);
    ReportColorError(label, photo, imaging::ReduceWithLookup(photo, arbitrary, exact, fs), arbitrary,
                     arbitrary_yardstick);
  }
  imaging::TFastColorLookup fast(arbitrary);
  ReportColorError("exact-fraction dithering, fast lookup", photo,
                   bench::TextbookFloydSteinberg(photo, arbitrary, fast), arbitrary,
                   arbitrary_yardstick);
  bench::ExactNearestLookup euclidean(arbitrary, bench::Distance::Euclidean);
  ReportColorError("exact-fraction dithering, exact nearest by Euclidean distance", photo,
                   bench::TextbookFloydSteinberg(photo, arbitrary, euclidean), arbitrary,
                   arbitrary_yardstick);
  return 0;
}
