// tessival-view FILE: the file in one stand-alone viewer, in a window of its own. Links to
// other local pages and pictures are followed inside the window; the window's title is the
// page's.
#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>

#include "html/page_charset.h"
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

const char kUsage[] = "usage: tessival-view [--charset NAME] [--images] FILE.html\n";

struct ViewOptions {
  std::string file;
  std::optional<html::PageCharset> charset;
  // Off by default, as the main window keeps them.
  bool images = false;
};

// Nothing for a usage error (printed); the file and the options otherwise.
std::optional<ViewOptions> ParseViewOptions(int argc, char** argv) {
  ViewOptions options;
  int i = 1;
  for (; i < argc && std::string(argv[i]).rfind("--", 0) == 0; ++i) {
    const std::string option = argv[i];
    if (option == "--images") {
      options.images = true;
    } else if (option == "--charset" && i + 1 < argc) {
      options.charset = html::PageCharsetOfLabel(argv[++i]);
      if (!options.charset) {
        std::fprintf(stderr, "tessival-view: unknown character set %s\n", argv[i]);
        return std::nullopt;
      }
    } else {
      break;
    }
  }
  if (i != argc - 1 || std::string(argv[i]).rfind("--", 0) == 0) {
    std::fputs(kUsage, stderr);
    return std::nullopt;
  }
  options.file = argv[i];
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::optional<ViewOptions> options = ParseViewOptions(argc, argv);
  if (!options) return 2;
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
  viewer->SetForcedCharset(options->charset);
  viewer->SetViewImages(options->images);
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
    viewer->LoadFromFile(options->file);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  viewer->setFocus();
  return QApplication::exec();
}
