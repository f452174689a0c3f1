#include "imaging/standard_palettes.h"

namespace tessival::imaging {

const Palette& SystemDefaultPalette() {
  static const Palette palette = {
      {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
      {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
      {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
      {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
  };
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
  static const Palette palette = [] {
    const Palette& system = SystemDefaultPalette();
    Palette p(256);
    for (int i = 0; i < 10; ++i) {
      p[static_cast<std::size_t>(i)] = system[static_cast<std::size_t>(i)];
      p[static_cast<std::size_t>(246 + i)] = system[static_cast<std::size_t>(10 + i)];
    }
    constexpr std::uint8_t kLevels[6] = {0x37, 0x73, 0xA5, 0xCD, 0xEB, 0xFF};
    std::size_t next = 10;
    for (int r = 0; r < 6; ++r)
      for (int g = 0; g < 6; ++g)
        for (int b = 0; b < 6; ++b)
          if (r != 5 || g != 5 || b != 5) p[next++] = {kLevels[r], kLevels[g], kLevels[b], 0};
    for (int i = 1; i <= 24; ++i) {
      if (i == 7 || i == 15 || i == 21) continue;
      const auto grey = static_cast<std::uint8_t>(130 + 5 * i);
      p[next++] = {grey, grey, grey, 0};
    }
    return p;
  }();
  return palette;
}

}  // namespace tessival::imaging
