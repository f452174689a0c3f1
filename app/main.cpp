#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/main_window.h"
#include "app/qt_user_dialogs.h"
#include "app/toolkit_translations.h"
#include "app/working_folder.h"
#include "app/http_cli_fetcher.h"
#include "platform/message_loop.h"
#include "platform/process_launch.h"
#include "platform/qt/qt_clipboard.h"
#include "platform/qt/font_config_preload.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_loop_driver.h"
#include "platform/qt/qt_screen_fonts.h"
#include "platform/qt/qt_screen_cursor.h"
#include "platform/qt/text_convert.h"

namespace {

using namespace tessival;

app::MainWindowServices MakeServices() {
  app::MainWindowServices services;
  services.http = std::make_unique<app::HttpCliFetcher>();
  services.dialogs = std::make_unique<app::QtUserDialogs>(nullptr);
  services.launch = [](const std::vector<std::string>& argv) { return platform::LaunchDetached(argv); };
  services.terminate_application = [] { QApplication::quit(); };
  return services;
}

// Started in the home folder the program works in its own data folder; a folder it cannot
// make leaves it where it is, as before.
void EnterTheWorkingFolder() {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  if (error) return;
  const std::filesystem::path folder = app::ChooseWorkingFolder(current, std::getenv("HOME"),
                                                                std::getenv("XDG_DATA_HOME"));
  if (folder == current) return;
  if (const auto reason = app::EnterWorkingFolder(folder)) {
    std::fprintf(stderr, "tessival: cannot use %s (%s); working in %s\n", folder.c_str(),
                 reason->c_str(), current.c_str());
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  // The font configuration is read on the second core while the application connects to the
  // display: the first font use below would otherwise read it after the connection is made.
  platform::FontConfigPreload font_config;
  QApplication application(argc, argv);
  // No display name: the desktop would add it to the caption, which already names the
  // program.
  QApplication::setApplicationName(QStringLiteral("tessival"));
  const auto translations = app::InstallToolkitTranslations(QLocale());
  EnterTheWorkingFolder();
  QApplication::setQuitOnLastWindowClosed(false);  // only the confirmation ends the program
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
  QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
  // The windows' own font for everything the program shows, pop-up menus and message boxes
  // included: one face for all, and no second font file loaded for the desktop's default.
  // Its size is the desktop's, in points, so it grows with a larger font resolution.
  QFont program_font = QApplication::font();
  program_font.setFamily(QStringLiteral("MS Sans Serif"));
  QApplication::setFont(program_font);

  platform::QtLoopDriver loop_driver(platform::MessageLoop::ForThisThread());
  platform::QtClipboard clipboard;
  platform::Clipboard::SetSystem(&clipboard);
  platform::InstallQtScreenCursor();
  font_config.Wait();
  platform::InstallQtScreenFonts();
  platform::QtCanvas::RecordScreenDepth();

  app::TForm1 form1(MakeServices());
  form1.show();
  const int status = application.exec();
  platform::Clipboard::SetSystem(nullptr);
  return status;
}
