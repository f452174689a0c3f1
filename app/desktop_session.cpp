#include "app/desktop_session.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>

#include "app/http_cli_fetcher.h"
#include "app/main_window.h"
#include "app/service_table.h"
#include "app/settings_dialog.h"
#include "platform/qt/text_convert.h"

namespace tessival::app {

const ServiceRow* FindServiceByCaption(const QString& caption) {
  for (const ServiceRow& row : ServiceTable()) {
    if (platform::ToQString(row.caption) == caption) return &row;
  }
  for (const ServiceRow& row : ServiceTable()) {
    if (platform::ToQString(row.caption).compare(caption, Qt::CaseInsensitive) == 0) return &row;
  }
  return nullptr;
}

DesktopSession::DesktopSession(TForm1& form, HttpCliFetcher& fetcher, QString settings_path,
                               net::SystemProxies system)
    : QObject(&form),
      form_(form),
      fetcher_(fetcher),
      settings_path_(std::move(settings_path)),
      system_(std::move(system)) {
  LoadedSettings loaded = LoadSettings(settings_path_);
  settings_ = loaded.settings;
  // Each problem is said once, at start: in the status bar and on standard error.
  std::vector<std::string> notes = std::move(loaded.notes);
  notes.insert(notes.end(), system_.problems.begin(), system_.problems.end());
  for (const std::string& note : notes) ShowNote(note);
  AddSettingsMenu();
  TrackServiceButtons();
  Apply();
}

void DesktopSession::ShowNote(const std::string& note) {
  std::fprintf(stderr, "tessival: %s\n", platform::ToQString(note).toLocal8Bit().constData());
  if (auto* panel = form_.findChild<QLabel*>(QStringLiteral("StatusPanel2"))) {
    panel->setText(platform::ToQString(note));
  }
}

void DesktopSession::AddSettingsMenu() {
  QMenu* extras = form_.menuBar()->addMenu(QStringLiteral("E&xtras"));
  extras->setObjectName(QStringLiteral("Extras1"));
  QAction* open = extras->addAction(QStringLiteral("&Einstellungen\u2026"));
  open->setObjectName(QStringLiteral("Einstellungen1"));
  connect(open, &QAction::triggered, this, &DesktopSession::OpenSettings);
}

void DesktopSession::TrackServiceButtons() {
  if (const ServiceRow* kept = FindService(settings_.last_service)) form_.SetLastService(*kept);
  form_.OnServiceRun = [this](const ServiceRow& row) {
    if (settings_.last_service == row.caption) return;
    settings_.last_service = row.caption;
    Save();
  };
}

void DesktopSession::Apply() {
  fetcher_.SetProxy(settings_.proxy, system_);
  fetcher_.Client().SetTlsCaFile(settings_.ca_file);
  if (key_binder_) key_state_ = key_binder_(settings_.global_key);
}

void DesktopSession::SetKeyBinder(KeyBinder binder) {
  key_binder_ = std::move(binder);
  key_state_ = key_binder_(settings_.global_key);
}

void DesktopSession::Save() {
  if (!SaveSettings(settings_path_, settings_)) {
    ShowNote("Einstellungen nicht gespeichert: " + platform::FromQString(settings_path_));
  }
}

void DesktopSession::OpenSettings() {
  SettingsDialog dialog(settings_, system_, key_state_, &form_);
  if (dialog.exec() != QDialog::Accepted) return;
  settings_ = dialog.Result();
  Save();
  Apply();
}

void DesktopSession::AnswerSelection() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  QString text = clipboard->supportsSelection() ? clipboard->text(QClipboard::Selection) : QString();
  if (text.isEmpty()) text = clipboard->text(QClipboard::Clipboard);
  InstanceRequest request;
  if (!text.isEmpty()) request.text = text;
  HandleRequest(request);
}

void DesktopSession::HandleRequest(const InstanceRequest& request) {
  form_.TaskBarIcon1DblClick();  // up from the tray, to the front
  if (request.text) {
    // Straight into the memo as Unicode: a text in any script arrives as typed.
    if (auto* memo = form_.findChild<QPlainTextEdit*>(QStringLiteral("Memo1")))
      memo->setPlainText(*request.text);
  }
  if (!request.text && !request.service) return;
  const ServiceRow* row = request.service ? FindServiceByCaption(*request.service)
                                          : FindService(settings_.last_service);
  if (row == nullptr) return;
  if (QPushButton* button = form_.ButtonByComponent(row->component)) button->click();
}

}  // namespace tessival::app
