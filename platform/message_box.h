#pragma once
// The error box of the windowing system, behind an interface so that the engine can report
// a failure to the user without knowing the toolkit, and tests can read what was shown.
#include <string>

namespace tessival::platform {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A modal error box with the message and an OK button.
  virtual void ShowError(const std::string& message) = 0;
};

}  // namespace tessival::platform
