#pragma once
#include <QMetaObject>

#include "platform/clipboard.h"

namespace tessival::platform {

// The desktop clipboard through Qt, with CR LF line breaks on the engine's side. Made after
// the application object, which it listens to for the clipboard's changes.
class QtClipboard : public Clipboard {
 public:
  QtClipboard();
  ~QtClipboard() override;
  QtClipboard(const QtClipboard&) = delete;
  QtClipboard& operator=(const QtClipboard&) = delete;

  std::optional<std::string> GetText() override;
  void SetText(const std::string& text) override;
  std::uint64_t OutsideChanges() const override { return outside_changes_; }

 private:
  std::uint64_t outside_changes_ = 0;
  QMetaObject::Connection watch_;
};

}  // namespace tessival::platform
