#include "platform/clipboard.h"

namespace tessival::platform {
namespace {

Clipboard*& Installed() {
  static Clipboard* installed = nullptr;
  return installed;
}

}  // namespace

Clipboard& Clipboard::System() {
  static MemoryClipboard fallback;
  Clipboard* installed = Installed();
  return installed ? *installed : fallback;
}

void Clipboard::SetSystem(Clipboard* clipboard) { Installed() = clipboard; }

}  // namespace tessival::platform
