#pragma once
#include "app/user_dialogs.h"

class QWidget;

namespace tessival::app {

class QtUserDialogs : public UserDialogs {
 public:
  explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
  bool Confirm(const std::string& question) override;
  void ShowError(const std::string& message) override;
  void Beep() override;

 private:
  QWidget* parent_;
};

}  // namespace tessival::app
