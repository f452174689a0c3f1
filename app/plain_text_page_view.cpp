#include "app/plain_text_page_view.h"

#include <QKeyEvent>
#include <optional>

#include "html/page_file.h"
#include "platform/clipboard.h"
#include "platform/qt/text_convert.h"
#include "viewer/fv_load_error.h"

namespace tessival::app {

class PlainTextPageView::Editor : public QPlainTextEdit {
 public:
  Editor(PlainTextPageView& owner, QWidget* parent) : QPlainTextEdit(parent), owner_(owner) {}

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    char key = KeyCharacter(event);
    if (key != 0 && owner_.OnKeyPress) {
      owner_.OnKeyPress(key);
      if (key == 0) return;
    }
    if (key == 3) return;  // the host decides what Ctrl+C does
    QPlainTextEdit::keyPressEvent(event);
  }

 private:
  static char KeyCharacter(const QKeyEvent* event) {
    if (event->key() == Qt::Key_C && (event->modifiers() & Qt::ControlModifier)) return 3;
    const std::string text = platform::FromQString(event->text());
    return text.size() == 1 ? text[0] : 0;
  }
  PlainTextPageView& owner_;
};

PlainTextPageView::PlainTextPageView(QWidget* parent) : editor_(new Editor(*this, parent)) {
  if (parent == nullptr) holder_.reset(editor_);
  editor_->setObjectName(QStringLiteral("FrameViewer1"));
  editor_->setAccessibleName(QStringLiteral("FrameViewer1"));
  editor_->setReadOnly(true);
  editor_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  editor_->setFrameShape(QFrame::NoFrame);
  QPalette palette = editor_->palette();
  palette.setColor(QPalette::Base, QColor(255, 254, 230));  // the viewer's pale cream
  editor_->setPalette(palette);
  editor_->setFont(QFont(QStringLiteral("Times New Roman")));
}

PlainTextPageView::~PlainTextPageView() = default;

QWidget* PlainTextPageView::Widget() { return editor_; }

void PlainTextPageView::LoadFromFile(const std::string& file_name) {
  std::string name = file_name;
  if (OnFileRequest) {
    std::string substitute;
    OnFileRequest(file_name, substitute);
    if (!substitute.empty()) name = substitute;
  }
  // The page in the engine's form, as the HTML viewer will read it.
  const std::optional<html::PageText> page = html::LoadPageText(name);
  if (!page) throw viewer::EfvLoadError("Can't locate file: " + name);
  editor_->setPlainText(platform::ToQString(page->text));
}

void PlainTextPageView::CopyToClipboard() { platform::Clipboard::System().SetText(SelText()); }

std::string PlainTextPageView::SelText() const {
  return platform::LinesFromQString(editor_->textCursor().selectedText());
}

}  // namespace tessival::app
