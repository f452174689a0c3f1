// Arbitrary bytes loaded into a shown viewer, which then does what a reader does: scrolls
// to the end by keys and by the bar, hovers and drags across the panel, selects everything
// and copies it, and turns pictures off and on again. Nothing may crash, hang or read
// outside its buffers.
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/clipboard.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"

using namespace tessival;

namespace {

constexpr std::size_t kMaxInput = 1 << 16;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "viewer_fuzz";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication* const application = new QApplication(argc, argv);
  return *application;
}

void Send(QWidget& target, QEvent& event) { QCoreApplication::sendEvent(&target, &event); }

void Mouse(QWidget& panel, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent event(type, at, panel.mapToGlobal(at), button, held, Qt::NoModifier);
  Send(panel, event);
}

void Key(viewer::TPageViewer& viewer, Qt::Key key) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
  Send(viewer, event);
}

void PaintOnce(viewer::TPageViewer& viewer) {
  QImage picture(viewer.size(), QImage::Format_RGB32);
  viewer.render(&picture);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  Application();
  platform::MemoryClipboard clipboard;
  platform::Clipboard::SetSystem(&clipboard);
  {
    viewer::TPageViewer viewer;
    viewer.resize(320, 240);
    viewer.show();
    viewer.LoadFromBuffer(reinterpret_cast<const char*>(data), size);
    PaintOnce(viewer);
    QWidget& panel = viewer.PaintPanel();
    for (const QPoint at : {QPoint(5, 5), QPoint(100, 40), QPoint(200, 120)}) {
      Mouse(panel, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    }
    Mouse(panel, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    Mouse(panel, QEvent::MouseMove, QPoint(150, 200), Qt::NoButton, Qt::LeftButton);
    Mouse(panel, QEvent::MouseButtonRelease, QPoint(150, 200), Qt::LeftButton, Qt::NoButton);
    Mouse(panel, QEvent::MouseButtonDblClick, QPoint(30, 20), Qt::LeftButton, Qt::LeftButton);
    for (int i = 0; i < 3; ++i) Key(viewer, Qt::Key_PageDown);
    Key(viewer, Qt::Key_Down);
    Key(viewer, Qt::Key_Right);
    Key(viewer, Qt::Key_End);
    PaintOnce(viewer);
    viewer.SelectAll();
    viewer.CopyToClipboard();
    const std::string selected = viewer.SelText();
    if (selected.size() > size * 4 + 16) std::abort();
    viewer.resize(97, 400);
    PaintOnce(viewer);
    // Pictures off on a shown page and back on: every picture drops and fetches again.
    viewer.SetViewImages(false);
    PaintOnce(viewer);
    viewer.SetViewImages(true);
    PaintOnce(viewer);
  }
  platform::Clipboard::SetSystem(nullptr);
  return 0;
}
