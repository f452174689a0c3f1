#include "app/program_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QSettings>
#include <QStandardPaths>
#include <array>
#include <utility>

#include "platform/qt/text_convert.h"

namespace tessival::app {
namespace {

// clang-format off
constexpr std::array<std::pair<const char*, net::ProxyMode>, 3> kModes = {{
    {"none",   net::ProxyMode::kNone},
    {"system", net::ProxyMode::kSystem},
    {"manual", net::ProxyMode::kManual},
}};
// clang-format on

std::string Text(const QSettings& store, const char* key) {
  return store.value(QLatin1String(key)).toString().toStdString();
}

// Reads the values one by one; each that is there but does not read keeps its default.
class SettingsReader {
 public:
  explicit SettingsReader(const QSettings& store) : store_(store) {}

  void ReadMode(net::ProxyMode& mode) {
    if (!Present("Proxy/Mode")) return;
    const std::string value = Text(store_, "Proxy/Mode");
    for (const auto& [name, candidate] : kModes) {
      if (value == name) {
        mode = candidate;
        return;
      }
    }
    Note("Proxy/Mode", value, "system");
  }

  void ReadManualProxy(net::ProxyServer& server) {
    if (Present("Proxy/Type")) {
      const std::string value = Text(store_, "Proxy/Type");
      if (const auto kind = net::ProxyKindFromScheme(value)) {
        server.kind = *kind;
      } else {
        Note("Proxy/Type", value, "http");
      }
    }
    server.user = Text(store_, "Proxy/User");
    server.password = Text(store_, "Proxy/Password");
    // Host and port are checked the way an address of the same form would be.
    const std::string host = Text(store_, "Proxy/Host");
    const std::string port = Text(store_, "Proxy/Port");
    if (!host.empty() && !net::ParseProxyAddress(host + ":1").server) {
      Note("Proxy/Host", host, "leer");
    } else {
      server.host = host;
    }
    if (!port.empty() && !net::ParseProxyAddress("h:" + port).server) {
      Note("Proxy/Port", port, server.port);
    } else if (!port.empty()) {
      server.port = port;
    }
  }

  void ReadKey(std::string& key) {
    if (!Present("Keys/GlobalKey")) return;
    const QString value = store_.value(QStringLiteral("Keys/GlobalKey")).toString();
    const QKeySequence sequence = QKeySequence::fromString(value, QKeySequence::PortableText);
    if (!value.isEmpty() && (sequence.isEmpty() || sequence.count() != 1)) {
      Note("Keys/GlobalKey", value.toStdString(), key);
      return;
    }
    key = sequence.toString(QKeySequence::PortableText).toStdString();
  }

  void Note(const char* key, const std::string& value, const std::string& fallback) {
    notes_.push_back(std::string(key) + ": \"" + value + "\" ung\xFCltig, Vorgabe \"" + fallback +
                     "\" gilt");
  }
  bool Present(const char* key) const { return store_.contains(QLatin1String(key)); }
  std::vector<std::string> TakeNotes() { return std::move(notes_); }

 private:
  const QSettings& store_;
  std::vector<std::string> notes_;
};

// The file is made for its owner before the store writes to it: a password must never sit
// in a file others could read, not even for a moment.
bool PrepareOwnerOnlyFile(const QString& path) {
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder)) return false;
  ::chmod(QFile::encodeName(folder).constData(), S_IRWXU);
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_CLOEXEC,
                        S_IRUSR | S_IWUSR);
  if (fd < 0) return false;
  const bool owner_only = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0;
  ::close(fd);
  return owner_only;
}

}  // namespace

bool ProgramSettings::operator==(const ProgramSettings& other) const {
  return proxy.mode == other.proxy.mode && proxy.manual == other.proxy.manual &&
         ca_file == other.ca_file && global_key == other.global_key &&
         last_service == other.last_service;
}

QString SettingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tessival/tessival.ini");
}

LoadedSettings LoadSettings(const QString& path) {
  LoadedSettings loaded;
  const QSettings store(path, QSettings::IniFormat);
  if (store.status() == QSettings::FormatError) {
    loaded.notes.push_back("Die Einstellungsdatei ist nicht lesbar; die Vorgaben gelten");
    return loaded;
  }
  SettingsReader reader(store);
  ProgramSettings& settings = loaded.settings;
  reader.ReadMode(settings.proxy.mode);
  reader.ReadManualProxy(settings.proxy.manual);
  reader.ReadKey(settings.global_key);
  settings.ca_file = Text(store, "Network/CaFile");
  settings.last_service = platform::FromQString(
      store.value(QStringLiteral("Query/LastService")).toString());
  loaded.notes = reader.TakeNotes();
  if (settings.proxy.mode == net::ProxyMode::kManual && settings.proxy.manual.host.empty()) {
    loaded.notes.emplace_back("Proxy/Mode: \"manual\" ohne Proxy/Host, Vorgabe \"system\" gilt");
    settings.proxy.mode = net::ProxyMode::kSystem;
  }
  return loaded;
}

bool SaveSettings(const QString& path, const ProgramSettings& settings) {
  if (!PrepareOwnerOnlyFile(path)) return false;
  QSettings store(path, QSettings::IniFormat);
  for (const auto& [name, mode] : kModes) {
    if (mode == settings.proxy.mode)
      store.setValue(QStringLiteral("Proxy/Mode"), QString::fromLatin1(name));
  }
  const net::ProxyServer& manual = settings.proxy.manual;
  store.setValue(QStringLiteral("Proxy/Type"),
                 QString::fromStdString(net::ProxySchemeName(manual.kind)));
  store.setValue(QStringLiteral("Proxy/Host"), QString::fromStdString(manual.host));
  store.setValue(QStringLiteral("Proxy/Port"), QString::fromStdString(manual.port));
  store.setValue(QStringLiteral("Proxy/User"), QString::fromStdString(manual.user));
  store.setValue(QStringLiteral("Proxy/Password"), QString::fromStdString(manual.password));
  store.setValue(QStringLiteral("Network/CaFile"), QString::fromStdString(settings.ca_file));
  store.setValue(QStringLiteral("Keys/GlobalKey"), QString::fromStdString(settings.global_key));
  store.setValue(QStringLiteral("Query/LastService"), platform::ToQString(settings.last_service));
  store.sync();
  // The store writes through a new file renamed into place; keep that one for the owner too.
  QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  return store.status() == QSettings::NoError;
}

}  // namespace tessival::app
