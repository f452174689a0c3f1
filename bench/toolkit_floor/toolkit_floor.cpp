// The least a Qt Widgets program costs on this machine, as a yardstick for the program's
// own figures: a window that shows nothing of ours, and a panel that repaints itself on
// every Page-Down the way a page step must (a plain fill, or a fill and 30 lines of text
// drawn by the toolkit itself).
//
//   toolkit_floor [FILE]          a panel 800 x 600; FILE is ignored (so the viewer bench
//                                 can start it in place of a viewer)
//   FLOOR_TEXT=1 toolkit_floor    the panel also draws 30 lines of text on each paint
//   FLOOR_WINDOW=1 toolkit_floor  a main window shaped like the program's: menu, tool bar,
//                                 a splitter with a text edit above and a label below
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolBar>
#include <QWidget>
#include <cstdlib>
#include <memory>

namespace {

class RepaintingPanel : public QWidget {
 public:
  explicit RepaintingPanel(bool with_text) : with_text_(with_text) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_PageDown) {
      ++page_;
      update();
    }
  }

  void paintEvent(QPaintEvent* /*event*/) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!with_text_) return;
    painter.setFont(QFont("Liberation Serif", 12));
    const int line_height = painter.fontMetrics().height();
    for (int line = 0; line < 30; ++line) {
      painter.drawText(8, (line + 1) * line_height,
                       QString("Seite %1, Zeile %2: Die Wörter des Wörterbuchs stehen hier in "
                               "einer Zeile, wie ein Absatz sie bricht.")
                           .arg(page_)
                           .arg(line));
    }
  }

 private:
  bool with_text_;
  int page_ = 0;
};

std::unique_ptr<QWidget> ProgramShapedWindow() {
  auto window = std::make_unique<QMainWindow>();
  auto* split = new QSplitter(Qt::Vertical, window.get());  // owned by the window
  split->addWidget(new QPlainTextEdit("Haus", split));
  split->addWidget(new QLabel("Antwort", split));
  window->setCentralWidget(split);
  window->menuBar()->addMenu("Datei")->addAction("Beenden");
  window->addToolBar("Dienste")->addAction("Wortschatz");
  return window;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::unique_ptr<QWidget> window;
  if (std::getenv("FLOOR_WINDOW") != nullptr) {
    window = ProgramShapedWindow();
  } else {
    window = std::make_unique<RepaintingPanel>(std::getenv("FLOOR_TEXT") != nullptr);
  }
  window->resize(800, 600);
  window->show();
  return QApplication::exec();
}
