#include "platform/screen_fonts.h"

namespace tessival::layout::testing {

void UseTestScreenFonts() {
  platform::SetScreenPixelsPerInch(96);
  platform::SetInstalledScreenFonts({"Arial", "Courier New", "Times New Roman", "MS Sans Serif"});
  platform::SetScreenFontMeasurer({});
}

}  // namespace tessival::layout::testing
