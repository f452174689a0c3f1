#include "tools/decode/netpbm_writer.h"

#include <fstream>
#include <stdexcept>
#include <vector>

namespace tessival::tools {

namespace {
void Write(const std::string& path, const std::string& header, const std::vector<char>& body) {
  std::ofstream out(path, std::ios::binary);
  out << header;
  out.write(body.data(), static_cast<std::streamsize>(body.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}
}  // namespace

void WritePpm(const std::string& path, const imaging::PixelImage& picture) {
  std::vector<char> body;
  body.reserve(static_cast<std::size_t>(picture.Width()) * picture.Height() * 3);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const std::uint32_t c = picture.ColorAt(x, y);
      body.insert(body.end(),
                  {static_cast<char>(c >> 16), static_cast<char>(c >> 8), static_cast<char>(c)});
    }
  Write(path,
        "P6\n" + std::to_string(picture.Width()) + " " + std::to_string(picture.Height()) + "\n255\n",
        body);
}

void WriteMaskPgm(const std::string& path, const imaging::PixelImage* mask, int width, int height) {
  std::vector<char> body(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                         static_cast<char>(255));
  if (mask != nullptr)
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (mask->IndexAt(x, y) == 1) body[static_cast<std::size_t>(y) * width + x] = 0;
  Write(path, "P5\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n", body);
}

}  // namespace tessival::tools
