#pragma once
// When the memo takes the clipboard's text: the first time it is asked, and afterwards only
// when the clipboard has changed since it last took it. Being painted, hovered or activated
// again is no reason: the user's typing stays until the clipboard really changes.
#include <cstdint>
#include <optional>

namespace tessival::app {

class ClipboardCapturePolicy {
 public:
  // `outside_changes` is the clipboard's change count now.
  bool ShouldCapture(std::uint64_t outside_changes) const {
    return !taken_ || *taken_ != outside_changes;
  }
  // The capture of that state is done (or found no text): it is not taken again.
  void Taken(std::uint64_t outside_changes) { taken_ = outside_changes; }

 private:
  std::optional<std::uint64_t> taken_;
};

}  // namespace tessival::app
