#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/command_line.h"
#include "app/desktop_session.h"
#include "app/global_key.h"
#include "app/main_window.h"
#include "app/single_instance.h"
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

app::MainWindowServices MakeServices(app::HttpCliFetcher*& fetcher) {
  app::MainWindowServices services;
  auto http = std::make_unique<app::HttpCliFetcher>();
  fetcher = http.get();
  services.http = std::move(http);
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

// Prints help or version, or the error: what needs no window. Nothing when the program runs on.
std::optional<int> AnswerWithoutWindow(const app::ParsedCommandLine& parsed) {
  if (!parsed.command_line) {
    std::fprintf(stderr, "tessival: %s\n%s", parsed.error.c_str(), app::kCommandLineUsage);
    return 2;
  }
  if (parsed.command_line->help) {
    std::fputs(app::kCommandLineUsage, stdout);
    return 0;
  }
  if (parsed.command_line->version) {
    std::printf("tessival %s\n", TESSIVAL_VERSION);
    return 0;
  }
  return std::nullopt;
}

app::InstanceRequest RequestOf(const app::CommandLine& line) {
  app::InstanceRequest request;
  if (line.service) request.service = QString::fromLocal8Bit(*line.service);
  if (line.text) request.text = QString::fromLocal8Bit(*line.text);
  return request;
}

}  // namespace

int main(int argc, char* argv[]) {
  const app::ParsedCommandLine parsed = app::ParseCommandLine(
      std::vector<std::string>(argv + 1, argv + argc));
  if (const std::optional<int> status = AnswerWithoutWindow(parsed)) return *status;
  const app::InstanceRequest request = RequestOf(*parsed.command_line);
  if (request.service && app::FindServiceByCaption(*request.service) == nullptr) {
    std::fprintf(stderr, "tessival: no service \"%s\"\n", parsed.command_line->service->c_str());
    return 2;
  }
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

  // A program already running on this display takes the request and shows its window.
  const QString instance_path = app::InstanceSocketPath();
  if (app::SingleInstance::HandOver(instance_path, request)) return 0;

  platform::QtLoopDriver loop_driver(platform::MessageLoop::ForThisThread());
  platform::QtClipboard clipboard;
  platform::Clipboard::SetSystem(&clipboard);
  platform::InstallQtScreenCursor();
  font_config.Wait();
  platform::InstallQtScreenFonts();
  platform::QtCanvas::RecordScreenDepth();

  app::HttpCliFetcher* fetcher = nullptr;
  app::TForm1 form1(MakeServices(fetcher));
  app::DesktopSession session(form1, *fetcher, app::SettingsFilePath(), net::ReadSystemProxies());
  const std::unique_ptr<app::GlobalKey> global_key = app::MakeDesktopGlobalKey();
  global_key->on_pressed = [&session] { session.AnswerSelection(); };
  session.SetKeyBinder([&global_key](const std::string& key) {
    return app::DescribeGlobalKeyState(global_key->Bind(key), QString::fromStdString(key));
  });
  app::SingleInstance instance(
      [&session](const app::InstanceRequest& later) { session.HandleRequest(later); });
  if (!instance.Listen(instance_path)) {
    // Another start won the race for the socket while this one built its window.
    if (app::SingleInstance::HandOver(instance_path, request)) return 0;
    std::fprintf(stderr, "tessival: cannot listen for later starts at %s\n", qPrintable(instance_path));
  }
  form1.show();
  if (request.text || request.service) session.HandleRequest(request);
  const int status = application.exec();
  platform::Clipboard::SetSystem(nullptr);
  return status;
}
