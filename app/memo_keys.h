#pragma once
// The memo's keys for a keyboard-first flow: Enter runs the query, Shift+Enter starts a new
// line. Tab and Shift+Tab move the focus, set on the memo itself.
#include <QObject>
#include <functional>

class QPlainTextEdit;

namespace tessival::app {

class MemoKeys : public QObject {
  Q_OBJECT
 public:
  // Watches `memo` (which must outlive this filter's use); `run_query` is called for Enter.
  MemoKeys(QPlainTextEdit* memo, std::function<void()> run_query);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* memo_;
  std::function<void()> run_query_;
};

}  // namespace tessival::app
