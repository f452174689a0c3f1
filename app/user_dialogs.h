#pragma once
// The message boxes and the beep of the front end, behind an interface so that tests can
// answer them.
#include <string>

namespace tessival::app {

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;
  // A confirmation box with Yes and No; true only for Yes.
  virtual bool Confirm(const std::string& question) = 0;
  // The application's standard error report.
  virtual void ShowError(const std::string& message) = 0;
  // The default system beep.
  virtual void Beep() = 0;
};

}  // namespace tessival::app
