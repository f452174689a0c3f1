#pragma once
// A shown frame viewer on the offscreen platform, with a scratch folder for its documents
// and a clipboard of its own.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include <unistd.h>

#include "platform/clipboard.h"
#include "tests/widgets/qt_app_fixture.h"
#include "viewer/frame_set.h"
#include "viewer/frame_viewer.h"
#include "viewer/fv_frame.h"
#include "viewer/page_viewer.h"
#include "viewer/paint_panel.h"

namespace tessival::viewer::testing {

namespace fs = std::filesystem;

class FrameViewerTest : public ::testing::Test {
 protected:
  FrameViewerTest() {
    tessival::testing::EnsureQtApplication();
    dir_ = fs::temp_directory_path() / ("tessival-frames-" + std::to_string(::getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    platform::Clipboard::SetSystem(&clipboard_);
    viewer_ = std::make_unique<TFrameViewer>();
    viewer_->resize(404, 404);
    viewer_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(viewer_.get()));
  }
  ~FrameViewerTest() override {
    viewer_.reset();
    platform::Clipboard::SetSystem(nullptr);
    fs::remove_all(dir_);
  }

  std::string Write(const std::string& name, const std::string& text) {
    const fs::path path = dir_ / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
  }
  TfvFrame& Frame(int index) {
    return dynamic_cast<TfvFrame&>(*viewer_->TopSet().Children().at(static_cast<std::size_t>(index)));
  }
  // The page's text without the line end after its last block.
  static std::string AllText(TPageViewer& viewer) {
    viewer.SelectAll();
    std::string text = viewer.SelText();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
  }
  static void Mouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                                                     : Qt::MouseButtons(button);
    QMouseEvent event(type, at, widget.mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
  }
  // Moves onto `at` in the viewer's page and clicks there, as a hand on the mouse would.
  static void ClickWithMouse(TPageViewer& viewer, QPoint at) {
    TPaintPanel& panel = viewer.PaintPanel();
    Mouse(panel, QEvent::MouseMove, at, Qt::NoButton);
    Mouse(panel, QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(panel, QEvent::MouseButtonRelease, at, Qt::LeftButton);
  }

  fs::path dir_;
  platform::MemoryClipboard clipboard_;
  std::unique_ptr<TFrameViewer> viewer_;
};

}  // namespace tessival::viewer::testing
