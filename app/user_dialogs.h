#pragma once
// The message boxes and the beep of the front end, behind an interface so that tests can
// answer them.
#include <string>

#include "platform/message_box.h"

namespace tessival::app {

// The error box is the platform's, so the page view can hand these dialogs to a document.
class UserDialogs : public platform::MessageBoxes {
 public:
  // A confirmation box with Yes and No; true only for Yes.
  virtual bool Confirm(const std::string& question) = 0;
  // The default system beep.
  virtual void Beep() = 0;
};

}  // namespace tessival::app
