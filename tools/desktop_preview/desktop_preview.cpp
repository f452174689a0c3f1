// desktop_preview SCREENSHOT.png [--skip-taskbar | --drag]
//
// Builds the main window's two panes (a memo strip above, a cream viewer area below) in a
// splitter of 439 rows, sets the upper pane to 70 as the main window does at start-up,
// and saves a grab of the whole screen. With --skip-taskbar the taskbar button is hidden
// as well and the window id is printed, so the window's state can be inspected from
// outside while the window stays up for three seconds. With --drag the bar is pressed and
// dragged to row 200 before the grab, to show the inverted drag rectangle on screen.
#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <cstring>

#include "app/icon_hide.h"
#include "widgets/pane.h"
#include "widgets/splitter_wnd.h"

using tessival::widgets::TPane;
using tessival::widgets::TSplitterWnd;

namespace {

// The viewer's default background: red 255, green 254, blue 230.
constexpr QRgb kViewerBackground = 0xFFFFFEE6;

QWidget* ViewerStandIn() {
  auto* viewer = new QWidget;
  QPalette palette = viewer->palette();
  palette.setColor(QPalette::Window, QColor(kViewerBackground));
  viewer->setPalette(palette);
  viewer->setAutoFillBackground(true);
  return viewer;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: desktop_preview SCREENSHOT.png [--skip-taskbar | --drag]\n");
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[1]);
  const bool skip_taskbar = argc > 2 && std::strcmp(argv[2], "--skip-taskbar") == 0;
  const bool drag = argc > 2 && std::strcmp(argv[2], "--drag") == 0;

  QWidget window;
  window.setWindowTitle("Tessival - Browser");
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* splitter = new TSplitterWnd;
  splitter->SetOrientation(tessival::widgets::swHorizontal);
  layout->addWidget(splitter);
  window.move(0, 0);
  window.resize(921, 439);
  window.show();

  auto* pane1 = new TPane;
  pane1->setFrameShape(QFrame::NoFrame);
  pane1->SetPaneSize(220);
  pane1->setWidget(new QPlainTextEdit("Haus"));
  pane1->SetSplitterWnd(splitter);
  auto* pane3 = new TPane;
  pane3->setFrameShape(QFrame::NoFrame);
  pane3->SetPaneSize(219);
  pane3->setWidget(ViewerStandIn());
  pane3->SetSplitterWnd(splitter);
  pane1->SetPaneSize(70);

  tessival::app::TIconHide icon_hide(&window);
  if (skip_taskbar) {
    icon_hide.SetHidden(true);
    std::printf("0x%llx\n", static_cast<unsigned long long>(window.winId()));
    std::fflush(stdout);
  }
  if (drag) {
    QTimer::singleShot(200, &app, [splitter] {
      for (const auto& [type, row] :
           {std::pair{QEvent::MouseButtonPress, 70}, std::pair{QEvent::MouseMove, 200}}) {
        const QPoint at(10, row);
        QMouseEvent event(type, at, splitter->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(splitter, &event);
      }
    });
  }
  QTimer::singleShot(500, &app, [&] {
    const bool saved = window.screen()->grabWindow(0).save(output);
    std::printf("pane1 %d,%d %dx%d  pane3 %d,%d %dx%d  saved %s\n", pane1->x(), pane1->y(),
                pane1->width(), pane1->height(), pane3->x(), pane3->y(), pane3->width(), pane3->height(),
                saved ? "yes" : "no");
    std::fflush(stdout);
  });
  QTimer::singleShot(skip_taskbar ? 3000 : 700, &app, &QApplication::quit);
  return app.exec();
}
