#include "imaging/standard_palettes.h"

#include "imaging/platform_bitmaps.h"
#include "platform/program_palette.h"

namespace tessival::imaging {

const Palette& SystemDefaultPalette() {
  static const Palette palette = FromPlatformPalette(platform::SystemPalette());
  return palette;
}

const Palette& CubePalette() {
  static const Palette palette = [] {
    Palette p;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b)
          p.push_back({static_cast<std::uint8_t>(51 * r), static_cast<std::uint8_t>(51 * g),
                       static_cast<std::uint8_t>(51 * b), 0});
    return p;
  }();
  return palette;
}

const Palette& ProgramPalette() {
  static const Palette palette = FromPlatformPalette(platform::MakeProgramPalette());
  return palette;
}

}  // namespace tessival::imaging
