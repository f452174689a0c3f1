// tessival-decode: decodes a PNG or GIF file through the engine's decoders.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/decode/decoded_picture.h"
#include "tools/decode/netpbm_writer.h"

namespace {

constexpr const char* kUsage =
    "usage: tessival-decode IN [-o OUT.ppm] [--frame N] [--mask OUT.pgm] [--info]\n"
    "\n"
    "Decodes the PNG or GIF file IN (recognised by its first bytes, not its name).\n"
    "  -o OUT.ppm       write the picture as binary PPM (P6)\n"
    "  --frame N        for an animated GIF, write frame N (1-based) composited over the\n"
    "                   frames before it on a black page, as the viewer shows it (default 1)\n"
    "  --mask OUT.pgm   write the transparency mask as binary PGM (P5): 255 opaque, 0 transparent;\n"
    "                   for a GIF the mask of frame N as stored in the frame strip\n"
    "  --info           print width, height, frame count, each frame's delay and disposal,\n"
    "                   and the loop count (0 = forever)\n"
    "  --help           show this text\n"
    "Bad input: exit status 1 and the decoder's message on standard error.\n";

struct Options {
  std::string input, output, mask;
  int frame = 1;
  bool info = false;
};

bool ParseArguments(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      std::exit(0);
    } else if (arg == "-o" && has_value) o.output = argv[++i];
    else if (arg == "--mask" && has_value) o.mask = argv[++i];
    else if (arg == "--frame" && has_value) o.frame = std::atoi(argv[++i]);
    else if (arg == "--info") o.info = true;
    else if (!arg.empty() && arg[0] != '-' && o.input.empty()) o.input = arg;
    else return false;
  }
  return !o.input.empty() && (o.info || !o.output.empty() || !o.mask.empty());
}

int Run(const Options& o) {
  std::ifstream file(o.input, std::ios::binary);
  if (!file) throw std::runtime_error("cannot open " + o.input);
  const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(file)),
                                       std::istreambuf_iterator<char>());
  tessival::tools::DecodedPicture picture(data);
  if (o.frame < 1 || o.frame > picture.FrameCount())
    throw std::runtime_error("frame " + std::to_string(o.frame) + " out of range 1.." +
                             std::to_string(picture.FrameCount()));
  if (o.info) std::cout << picture.Info();
  if (!o.output.empty()) tessival::tools::WritePpm(o.output, picture.Frame(o.frame));
  if (!o.mask.empty()) {
    const auto mask = picture.Mask(o.frame);
    tessival::tools::WriteMaskPgm(o.mask, mask ? &*mask : nullptr, picture.Width(), picture.Height());
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseArguments(argc, argv, options)) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return 1;
  }
}
