#include "platform/qt/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/text_convert.h"

namespace tessival::platform {

void QtMessageBoxes::ShowError(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), ToQString(message),
                  QMessageBox::Ok, parent_);
  box.exec();
}

}  // namespace tessival::platform
