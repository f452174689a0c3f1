#include "external_tools.h"

#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace tessival::bench {

using imaging::PixelImage;

void WritePpmFile(const std::string& path, const PixelImage& picture) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << picture.Width() << " " << picture.Height() << "\n255\n";
  std::vector<char> row(static_cast<std::size_t>(picture.Width()) * 3);
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t c = picture.ColorAt(x, y);
      row[3 * x] = static_cast<char>(c >> 16);
      row[3 * x + 1] = static_cast<char>(c >> 8);
      row[3 * x + 2] = static_cast<char>(c);
    }
    out.write(row.data(), static_cast<std::streamsize>(row.size()));
  }
  if (!out) throw std::runtime_error("cannot write " + path);
}

PixelImage ReadPpmFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int w = 0, h = 0, max = 0;
  in >> magic >> w >> h >> max;
  in.get();
  if (magic != "P6" || max != 255) throw std::runtime_error("not an 8-bit PPM: " + path);
  PixelImage picture(w, h, 24);
  std::vector<char> row(static_cast<std::size_t>(w) * 3);
  for (int y = 0; y < h; ++y) {
    in.read(row.data(), static_cast<std::streamsize>(row.size()));
    std::uint8_t* p = picture.Row(y);
    for (int x = 0; x < w; ++x) {
      p[3 * x] = static_cast<std::uint8_t>(row[3 * x + 2]);
      p[3 * x + 1] = static_cast<std::uint8_t>(row[3 * x + 1]);
      p[3 * x + 2] = static_cast<std::uint8_t>(row[3 * x]);
    }
  }
  if (!in) throw std::runtime_error("short PPM: " + path);
  return picture;
}

namespace {
double ChildrenProcessorMs() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}
}  // namespace

double CommandProcessorMs(const std::string& command) {
  // The children's account grows by what the shell and everything it ran used, once
  // std::system has waited for it.
  const double before = ChildrenProcessorMs();
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
  return ChildrenProcessorMs() - before;
}

double MeanColorError(const PixelImage& a, const PixelImage& b) {
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const std::uint32_t p = a.ColorAt(x, y), q = b.ColorAt(x, y);
      for (int shift : {0, 8, 16})
        sum += std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF));
    }
  return sum / (3.0 * a.Width() * a.Height());
}

double MeanBlockError(const PixelImage& a, const PixelImage& b, int block) {
  double sum = 0;
  long blocks = 0;
  for (int top = 0; top + block <= a.Height(); top += block)
    for (int left = 0; left + block <= a.Width(); left += block, ++blocks)
      for (int shift : {0, 8, 16}) {
        int difference = 0;
        for (int y = top; y < top + block; ++y)
          for (int x = left; x < left + block; ++x)
            difference += static_cast<int>((a.ColorAt(x, y) >> shift) & 0xFF) -
                          static_cast<int>((b.ColorAt(x, y) >> shift) & 0xFF);
        sum += std::abs(difference) / static_cast<double>(block * block);
      }
  return sum / (3.0 * static_cast<double>(blocks));
}

}  // namespace tessival::bench
