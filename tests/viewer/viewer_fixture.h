#pragma once
// A shown viewer on the offscreen platform, and the mouse and keys a person would use on
// it: events go through Qt's event delivery to the paint panel and the viewer.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <cstdint>
#include <string>

#include "layout/section_list.h"
#include "platform/clipboard.h"
#include "platform/qt/qt_canvas.h"
#include "tests/widgets/qt_app_fixture.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"
#include "viewer/scroll_bar_32.h"

namespace tessival::viewer::testing {

// Made before the viewer: widgets need the application object.
struct QtApplicationFirst {
  QtApplicationFirst() { tessival::testing::EnsureQtApplication(); }
};

inline std::string DataFile(const std::string& name) {
  return std::string(TESSIVAL_TEST_DATA_DIR) + "/" + name;
}

class ViewerTest : public ::testing::Test, private QtApplicationFirst {
 protected:
  ViewerTest() {
    viewer.resize(500, 300);
    viewer.SetTickSource([this] { return now_ms; });
    viewer.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    platform::Clipboard::SetSystem(&clipboard);
  }
  ~ViewerTest() override { platform::Clipboard::SetSystem(nullptr); }

  TPaintPanel& Panel() { return viewer.PaintPanel(); }

  // Lets the pending paints happen, so the text sections know where they were drawn (hit
  // tests measure from there).
  void PaintNow() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, Panel().mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&Panel(), &event);
  }
  void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonPress, at, button, button);
  }
  void Move(QPoint at, Qt::MouseButtons held = Qt::NoButton) {
    Mouse(QEvent::MouseMove, at, Qt::NoButton, held);
  }
  void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
  }
  void Click(QPoint at) {
    Press(at);
    Release(at);
  }
  void DoubleClick(QPoint at) {
    Click(at);
    Mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    Release(at);
  }
  void Leave() {
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&Panel(), &event);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&viewer, key, modifiers);
  }

  // The panel point a little inside the first character of the first `text` in the page.
  QPoint PointOfText(const std::string& text, int skip = 0) {
    layout::TSectionList& doc = viewer.Document();
    int pos = doc.FindText(0, text, true);
    EXPECT_GE(pos, 0) << text;
    pos += skip;
    int y = 0;
    int x = 0;
    EXPECT_TRUE(doc.PointOfPosition(nullptr, pos, y, x));
    auto canvas = platform::QtCanvas::ScreenContext();
    doc.PointOfPosition(canvas.get(), pos, y, x);
    return QPoint(x + 2, y - doc.YOffset + 6);
  }

  TPageViewer viewer;
  platform::MemoryClipboard clipboard;
  std::int64_t now_ms = 1000;
};

}  // namespace tessival::viewer::testing
