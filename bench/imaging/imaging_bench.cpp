// Imaging benchmark: our PNG and GIF decoders, GIF compositing and Floyd–Steinberg
// reduction against the reference libraries and tools, on the same generated inputs.
// Each case alternates ours and theirs; the figures are medians.
//
//   build-bench/bench/imaging/imaging_bench [RUNS [FILTER]]
// RUNS defaults to 11; FILTER runs only the cases whose name contains it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "bench_inputs.h"
#include "external_tools.h"
#include "imaging/bitmap_rows.h"
#include "imaging/gif_decoder.h"
#include "imaging/gif_image.h"
#include "imaging/pixel_canvas.h"
#include "imaging/png_image.h"
#include "imaging/reduce_colors.h"
#include "imaging/standard_palettes.h"
#include "reference_decoders.h"

using namespace tessival;
using imaging::PixelImage;

namespace {

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double TimeMs(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

volatile std::uint64_t sink;
std::string filter;

void Report(const std::string& name, double ours, double theirs, const std::string& reference, double goal) {
  std::printf("| %s | %.2f | %.2f (%s) | %.3f | <= %.2f %s |\n", name.c_str(), ours, theirs, reference.c_str(),
              ours / theirs, goal, ours / theirs <= goal ? "met" : "MISSED");
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

// Floyd–Steinberg reduction: ours in-process, theirs as a process with the time of a
// plain read-and-write of the same file subtracted.
void CompareReduction(const std::string& name, int runs, const PixelImage& photo, const std::function<PixelImage()>& ours,
                      const std::string& remap_command, const std::string& copy_command, const std::string& out_path,
                      const std::string& reference, double goal) {
  if (name.find(filter) == std::string::npos) return;
  PixelImage reduced;
  Compare(name, runs, [&] { reduced = ours(); },
          [&] { return bench::TimeCommandMs(remap_command) - bench::TimeCommandMs(copy_command); }, reference, goal);
  std::printf("|   mean colour error | ours %.3f | %s %.3f | | |\n", bench::MeanColorError(photo, reduced),
              reference.c_str(), bench::MeanColorError(photo, bench::ReadPpmFile(out_path)));
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  if (argc > 2) filter = argv[2];
  std::printf("| case | ours ms | reference ms | ratio | goal |\n|---|---|---|---|---|\n");
  for (const bench::NamedFile& file : bench::MakePngInputs())
    Compare("PNG " + file.name + " (" + std::to_string(file.data.size() / 1024) + " KiB)", runs,
            [&] { DecodeOurPng(file.data); }, Timed([&] { sink = bench::LibpngDecode(file.data); }),
            "libpng simplified API", 0.9);

  const bench::Bytes still = bench::MakeGifStill();
  Compare("GIF 1920x1080 256 colours to indexes", runs, [&] {
    imaging::TGif gif;
    gif.LoadFromStream(still);
  }, Timed([&] { sink = static_cast<std::uint64_t>(bench::GiflibSlurp(still)); }), "giflib DGifSlurp", 0.6);

  const bench::Bytes animation = bench::MakeGifAnimation();
  Compare("GIF 60 frames 640x360 decoded and composited", runs, [&] { CompositeAllFrames(animation); },
          Timed([&] { sink = static_cast<std::uint64_t>(bench::StbLoadGif(animation)); }), "stb_image", 0.7);

  const PixelImage photo = bench::MakePhoto(1920, 1080);
  const std::string dir = "/tmp/tessival-imaging-bench";
  std::system(("mkdir -p " + dir).c_str());
  bench::WritePpmFile(dir + "/photo.ppm", photo);
  WritePaletteFile(dir + "/cube.ppm", imaging::CubePalette());
  const imaging::Palette arbitrary = ArbitraryPalette();
  WritePaletteFile(dir + "/arbitrary.ppm", arbitrary);
  const std::string copy_pnm = "pamtopnm " + dir + "/photo.ppm > " + dir + "/copy.ppm";
  CompareReduction("Floyd-Steinberg 1920x1080 onto 6x6x6", runs, photo,
                   [&] { return imaging::ReduceColors(photo, imaging::TPaletteKind::Cube, imaging::TDitherMode::FloydSteinberg); },
                   "pnmremap -quiet -floyd -mapfile=" + dir + "/cube.ppm " + dir + "/photo.ppm > " + dir + "/pnm_cube.ppm",
                   copy_pnm, dir + "/pnm_cube.ppm", "pnmremap -floyd", 0.25);
  CompareReduction("Floyd-Steinberg 1920x1080 onto 256 arbitrary colours", runs, photo,
                   [&] { return imaging::ReduceToPalette(photo, arbitrary, imaging::TDitherMode::FloydSteinberg); },
                   "convert " + dir + "/photo.ppm -dither FloydSteinberg -remap " + dir + "/arbitrary.ppm " + dir +
                       "/im_arbitrary.ppm",
                   "convert " + dir + "/photo.ppm " + dir + "/im_copy.ppm", dir + "/im_arbitrary.ppm",
                   "ImageMagick -remap", 0.1);
  // The colour error of the same palette through pnmremap, the quality yardstick.
  if (std::string("Floyd-Steinberg").find(filter) == std::string::npos) return 0;
  bench::TimeCommandMs("pnmremap -quiet -floyd -mapfile=" + dir + "/arbitrary.ppm " + dir + "/photo.ppm > " + dir +
                       "/pnm_arbitrary.ppm");
  std::printf("|   pnmremap -floyd onto the 256 colours: mean colour error %.3f | | | | |\n",
              bench::MeanColorError(photo, bench::ReadPpmFile(dir + "/pnm_arbitrary.ppm")));
  return 0;
}
