#include "platform/qt/qt_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt/text_convert.h"

namespace tessival::platform {

QtClipboard::QtClipboard() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  // While the program owns the clipboard the change is its own copy.
  watch_ = QObject::connect(clipboard, &QClipboard::dataChanged, [this, clipboard] {
    if (!clipboard->ownsClipboard()) ++outside_changes_;
  });
}

QtClipboard::~QtClipboard() { QObject::disconnect(watch_); }

std::optional<std::string> QtClipboard::GetText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return std::nullopt;
  return LinesFromQString(data->text());
}

void QtClipboard::SetText(const std::string& text) {
  QGuiApplication::clipboard()->setText(LinesToQString(text));
}

}  // namespace tessival::platform
