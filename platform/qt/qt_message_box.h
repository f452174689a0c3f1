#pragma once
// Error boxes through QMessageBox, titled with the application's display name.
#include "platform/message_box.h"

class QWidget;

namespace tessival::platform {

class QtMessageBoxes : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
  void ShowError(const std::string& message) override;

 private:
  QWidget* parent_;
};

}  // namespace tessival::platform
