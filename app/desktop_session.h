#pragma once
// What makes the main window a desktop citizen: the settings (loaded at start, changed in
// "Extras -> Einstellungen..."), the proxy rule handed to the window's HTTP client, the
// service used last, and the requests of later starts (text for the memo, a service to run).
#include <QObject>
#include <QString>
#include <functional>

#include "app/program_settings.h"
#include "app/single_instance.h"

namespace tessival::app {

class TForm1;
class HttpCliFetcher;

class DesktopSession : public QObject {
 public:
  DesktopSession(TForm1& form, HttpCliFetcher& fetcher, QString settings_path,
                 net::SystemProxies system);

  // Brings the window up; with a text, puts it into the memo; with a text or a service,
  // runs that service (or the one used last).
  void HandleRequest(const InstanceRequest& request);
  // What the global key does: the primary selection (else the clipboard) as the request's text.
  void AnswerSelection();
  void OpenSettings();
  const ProgramSettings& settings() const { return settings_; }
  // Takes the global key whenever it is set (now, and after each change in the dialog);
  // returns what became of it, for the dialog to show.
  using KeyBinder = std::function<QString(const std::string& key)>;
  void SetKeyBinder(KeyBinder binder);

 private:
  void AddSettingsMenu();
  void TrackServiceButtons();
  void Apply();
  void Save();
  void ShowNote(const std::string& note);

  TForm1& form_;
  HttpCliFetcher& fetcher_;
  QString settings_path_;
  net::SystemProxies system_;
  ProgramSettings settings_;
  KeyBinder key_binder_;
  QString key_state_ = QStringLiteral("Die globale Taste ist hier nicht verf\u00fcgbar.");
};

// The service of a caption as typed on a command line: exact, else without regard to case.
const struct ServiceRow* FindServiceByCaption(const QString& caption);

}  // namespace tessival::app
