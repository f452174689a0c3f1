#pragma once
// The main window wired with the program's own HTTP client and frame viewer, and
// dialogs that record errors and answer every question with No: what the tests that send
// real requests through a service button share.
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/http_cli_fetcher.h"
#include "app/main_window.h"
#include "app/user_dialogs.h"
#include "tests/widgets/qt_app_fixture.h"

namespace tessival::app {

class RecordingDialogs : public UserDialogs {
 public:
  bool Confirm(const std::string&) override { return false; }
  void ShowError(const std::string& message) override { errors.push_back(message); }
  void Beep() override { ++beeps; }
  std::vector<std::string> errors;
  int beeps = 0;
};

// Builds the window; `dialogs` (and `fetcher`, when given) are left pointing at the window's own.
inline std::unique_ptr<TForm1> MakeRealClientWindow(RecordingDialogs*& dialogs,
                                                    HttpCliFetcher** fetcher = nullptr) {
  using namespace std::chrono_literals;
  tessival::testing::EnsureQtApplication();
  MainWindowServices services;
  auto http = std::make_unique<HttpCliFetcher>();
  http->Client().Timeout = 10s;
  if (fetcher != nullptr) *fetcher = http.get();
  services.http = std::move(http);
  auto owned_dialogs = std::make_unique<RecordingDialogs>();
  dialogs = owned_dialogs.get();
  services.dialogs = std::move(owned_dialogs);
  services.launch = [](const std::vector<std::string>&) { return true; };
  services.find_browser = [] { return std::optional<std::string>(); };
  services.terminate_application = [] {};
  return std::make_unique<TForm1>(std::move(services));
}

}  // namespace tessival::app
