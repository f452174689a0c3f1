// GIF decoding of arbitrary bytes into images of palette indexes.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/gif_decoder.h"

using namespace tessival::imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TGif gif;
  try {
    gif.LoadFromStream(std::span<const std::uint8_t>(data, size));
  } catch (const EInvalidGraphicOperation&) {
  }
  return 0;
}
