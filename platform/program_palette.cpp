#include "platform/program_palette.h"

#include <array>

#include "platform/display_depth.h"

namespace tessival::platform {

TPalette MakeProgramPalette() {
  std::vector<PaletteEntry> entries(MaxPaletteEntries);
  const TPalette& system = SystemPalette();
  for (int i = 0; i < 10; ++i) {
    entries[static_cast<std::size_t>(i)] = system.Entry(i);
    entries[246 + static_cast<std::size_t>(i)] = system.Entry(10 + i);
  }
  constexpr std::array<std::uint8_t, 6> kLevels = {0x37, 0x73, 0xA5, 0xCD, 0xEB, 0xFF};
  std::size_t index = 10;
  for (std::uint8_t r : kLevels) {
    for (std::uint8_t g : kLevels) {
      for (std::uint8_t b : kLevels) {
        if (r == 0xFF && g == 0xFF && b == 0xFF) continue;
        entries[index++] = {r, g, b, 0};
      }
    }
  }
  for (int i = 1; i <= 24; ++i) {
    if (i == 7 || i == 15 || i == 21) continue;
    const auto grey = static_cast<std::uint8_t>(130 + 5 * i);
    entries[index++] = {grey, grey, grey, 0};
  }
  return TPalette(std::move(entries));
}

const TPalette* ProgramPalette() {
  static const TPalette palette = MakeProgramPalette();
  return DisplayDepth::Class() == 8 ? &palette : nullptr;
}

}  // namespace tessival::platform
