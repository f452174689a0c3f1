#pragma once
// The program's settings, kept in $XDG_CONFIG_HOME/tessival/tessival.ini. The file may hold
// a proxy password, so it is written for its owner only (0600, in a 0700 folder). A value
// that is missing takes its default silently; a value that is there but does not read
// takes its default and is named once in the load's notes.
#include <QString>
#include <string>
#include <vector>

#include "net/proxy_choice.h"

namespace tessival::app {

struct ProgramSettings {
  net::ProxySettings proxy;
  std::string ca_file;                    // an extra authority file trusted for https
  std::string global_key = "Ctrl+Alt+Y";  // empty: no global key
  std::string last_service;               // caption of the service run last
  bool operator==(const ProgramSettings& other) const;
};

struct LoadedSettings {
  ProgramSettings settings;
  std::vector<std::string> notes;  // "Proxy/Port: \"x\" ungültig, Vorgabe 1080 gilt"
};

// $XDG_CONFIG_HOME/tessival/tessival.ini, or ~/.config/tessival/tessival.ini.
QString SettingsFilePath();

LoadedSettings LoadSettings(const QString& path);
// False when the file cannot be written.
bool SaveSettings(const QString& path, const ProgramSettings& settings);

}  // namespace tessival::app
