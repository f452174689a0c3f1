#include "reference_decoders.h"

#include <gif_lib.h>
#include <png.h>
#include <stb_image.h>

#include <cstring>
#include <stdexcept>

namespace tessival::bench {

std::uint64_t LibpngDecode(const std::vector<std::uint8_t>& file) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size()))
    throw std::runtime_error(image.message);
  image.format = PNG_FORMAT_BGR;
  std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
    throw std::runtime_error(image.message);
  return pixels[pixels.size() / 2];
}

namespace {
struct MemoryReader {
  const std::vector<std::uint8_t>* data;
  std::size_t pos = 0;
};
int ReadGif(GifFileType* gif, GifByteType* out, int n) {
  auto* reader = static_cast<MemoryReader*>(gif->UserData);
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(n),
                                                  reader->data->size() - reader->pos);
  std::memcpy(out, reader->data->data() + reader->pos, count);
  reader->pos += count;
  return static_cast<int>(count);
}
}  // namespace

int GiflibSlurp(const std::vector<std::uint8_t>& file) {
  MemoryReader reader{&file};
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, ReadGif, &error);
  if (gif == nullptr) throw std::runtime_error("DGifOpen failed");
  if (DGifSlurp(gif) != GIF_OK) throw std::runtime_error("DGifSlurp failed");
  const int images = gif->ImageCount;
  DGifCloseFile(gif, &error);
  return images;
}

int StbLoadGif(const std::vector<std::uint8_t>& file) {
  int* delays = nullptr;
  int w = 0, h = 0, frames = 0, channels = 0;
  stbi_uc* pixels = stbi_load_gif_from_memory(file.data(), static_cast<int>(file.size()), &delays, &w,
                                              &h, &frames, &channels, 4);
  if (pixels == nullptr) throw std::runtime_error("stb failed");
  stbi_image_free(pixels);
  stbi_image_free(delays);
  return frames;
}

}  // namespace tessival::bench
