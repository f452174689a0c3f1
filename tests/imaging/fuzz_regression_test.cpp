// Every input a fuzzer ever stopped on (crash, leak or timeout) must now be handled
// cleanly: decoded or refused with the decoder's own exception, in reasonable time.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "imaging/gif_image.h"
#include "imaging/png_error.h"
#include "imaging/png_image.h"
#include "imaging/pixel_canvas.h"

namespace tessival::imaging {
namespace {

std::vector<std::vector<std::uint8_t>> KeptInputs(const std::string& target) {
  std::vector<std::vector<std::uint8_t>> inputs;
  const std::filesystem::path dir = std::filesystem::path(TESSIVAL_SOURCE_DIR) / "fuzz" / "crashes" /
                                    target;
  if (!std::filesystem::exists(dir)) return inputs;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::ifstream file(entry.path(), std::ios::binary);
    inputs.emplace_back(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  return inputs;
}

TEST(FuzzRegression, PngInputsFailCleanly) {
  for (const auto& input : KeptInputs("png")) {
    TPNGImage image;
    try {
      image.LoadFromStream(input);
    } catch (const EPNGImageException&) {
    }
  }
}

TEST(FuzzRegression, GifInputsDecodeOrFailCleanly) {
  for (const std::string target : {"gif", "gif_animation"}) {
    for (const auto& input : KeptInputs(target)) {
      std::unique_ptr<TGIFImage> image;
      try {
        image = LoadGifImage(input);
      } catch (const EInvalidGraphicOperation&) {
        continue;
      }
      image->Bitmap();
      image->Mask();
    }
  }
}

}  // namespace
}  // namespace tessival::imaging
