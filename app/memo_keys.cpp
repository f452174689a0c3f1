#include "app/memo_keys.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace tessival::app {

MemoKeys::MemoKeys(QPlainTextEdit* memo, std::function<void()> run_query)
    : QObject(memo), memo_(memo), run_query_(std::move(run_query)) {
  memo_->setTabChangesFocus(true);
  memo_->installEventFilter(this);
}

bool MemoKeys::eventFilter(QObject* watched, QEvent* event) {
  if (watched != memo_ || event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ShiftModifier) {
    // A real paragraph break, not the edit's soft line separator: the query sees CR LF.
    memo_->textCursor().insertBlock();
    return true;
  }
  if (modifiers != Qt::NoModifier) return false;
  run_query_();
  return true;
}

}  // namespace tessival::app
