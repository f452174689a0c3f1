#include "platform/qt/font_config_preload.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace tessival::platform {

FontConfigPreload::FontConfigPreload() {
  try {
    thread_ = std::thread([] { FcInit(); });
  } catch (const std::system_error&) {
    // No thread to spare: the toolkit reads the configuration itself when it needs it.
  }
}

FontConfigPreload::~FontConfigPreload() { Wait(); }

void FontConfigPreload::Wait() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace tessival::platform
