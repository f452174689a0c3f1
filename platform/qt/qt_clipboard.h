#pragma once
#include "platform/clipboard.h"

namespace tessival::platform {

// The desktop clipboard through Qt, with CR LF line breaks on the engine's side.
class QtClipboard : public Clipboard {
 public:
  std::optional<std::string> GetText() override;
  void SetText(const std::string& text) override;
};

}  // namespace tessival::platform
