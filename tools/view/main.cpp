// tessival-view FILE: the file in one stand-alone viewer, in a window of its own. Links to
// other local pages and pictures are followed inside the window; the window's title is the
// page's.
#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <cstdio>
#include <exception>
#include <string>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/qt_message_box.h"
#include "platform/qt/qt_screen_cursor.h"
#include "platform/qt/qt_screen_fonts.h"
#include "platform/qt/text_convert.h"
#include "viewer/page_viewer.h"

using namespace tessival;

namespace {

// The main window's viewer colours, so a page looks here as it will there.
constexpr platform::TColor kViewerBackground = 0xE6FEFF;
constexpr int kWindowWidth = 800;
constexpr int kWindowHeight = 600;
constexpr int kStatusMs = 0;

const char kUsage[] = "usage: tessival-view FILE.html\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]) == "--help") {
    std::fputs(kUsage, argc == 2 ? stdout : stderr);
    return argc == 2 ? 0 : 2;
  }
  QApplication app(argc, argv);
  platform::InstallQtScreenFonts();
  platform::InstallQtScreenCursor();
  platform::QtCanvas::RecordScreenDepth();
  platform::QtClipboard clipboard;
  platform::Clipboard::SetSystem(&clipboard);
  platform::QtMessageBoxes messages;

  QMainWindow window;
  auto* viewer = new viewer::TPageViewer(&window, &messages);
  window.setCentralWidget(viewer);
  window.resize(kWindowWidth, kWindowHeight);
  viewer->SetDefBackground(kViewerBackground);
  viewer->SetDefFontColor(0);
  viewer->SethtOptions(viewer->htOptions() | viewer::htOverLinksActive);
  viewer->OnHotSpotCovered = [&window](const std::string& url) {
    window.statusBar()->showMessage(platform::ToQString(url), kStatusMs);
  };
  const auto show_title = [&window, viewer] {
    const std::string& title = viewer->DocumentTitle();
    window.setWindowTitle(platform::ToQString(title.empty() ? viewer->DocumentFile() : title) +
                          QStringLiteral(" - tessival-view"));
  };
  viewer->OnProcessing = [&show_title](bool on) {
    if (!on) show_title();
  };
  window.show();
  try {
    viewer->LoadFromFile(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  viewer->setFocus();
  return QApplication::exec();
}
