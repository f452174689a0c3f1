#include "app/qt_user_dialogs.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/qt_message_box.h"
#include "platform/qt/text_convert.h"

namespace tessival::app {

bool QtUserDialogs::Confirm(const std::string& question) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Tessival Browser"),
                  platform::ToQString(question), QMessageBox::Yes | QMessageBox::No, parent_);
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

void QtUserDialogs::ShowError(const std::string& message) {
  platform::QtMessageBoxes(parent_).ShowError(message);
}

void QtUserDialogs::Beep() { QApplication::beep(); }

}  // namespace tessival::app
