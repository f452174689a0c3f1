#include "platform/xdg_default_browser.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace tessival::platform {
namespace {

// Configuration files are small; anything bigger is not read past this, so a runaway file
// cannot exhaust memory.
constexpr std::size_t kMaxFileBytes = 1 << 20;

std::string Lower(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return result;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find(separator, start), text.size());
    parts.emplace_back(Trim(text.substr(start, end - start)));
    start = end + 1;
  }
  return parts;
}

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::string content;
  char chunk[4096];
  while (file && content.size() < kMaxFileBytes && file.read(chunk, sizeof chunk).gcount() > 0) {
    content.append(chunk, static_cast<std::size_t>(file.gcount()));
  }
  return content;
}

std::vector<std::string> ReadLines(const std::string& path) { return Split(ReadFile(path), '\n'); }

bool FileExists(const std::string& path) { return std::ifstream(path).good(); }

// Relative entries are ignored, as the directory conventions require.
std::vector<std::string> PathList(const char* variable, std::string_view fallback) {
  const char* value = std::getenv(variable);
  std::vector<std::string> dirs;
  for (std::string& dir : Split(value != nullptr && *value != '\0' ? value : fallback, ':')) {
    if (!dir.empty() && dir.front() == '/') dirs.push_back(std::move(dir));
  }
  return dirs;
}

std::string HomePath(const char* variable, const std::string& fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  return fallback;
}

// The value of `key` in group `group` of a desktop-entry style file.
std::optional<std::string> GroupValue(const std::vector<std::string>& lines, std::string_view group,
                                      std::string_view key) {
  bool in_group = false;
  for (const std::string& line : lines) {
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      in_group = line == "[" + std::string(group) + "]";
      continue;
    }
    const std::size_t equals = line.find('=');
    if (in_group && equals != std::string::npos && Trim(line.substr(0, equals)) == key) {
      return std::string(Trim(std::string_view(line).substr(equals + 1)));
    }
  }
  return std::nullopt;
}

// The escapes of a desktop file value: \s \n \t \r \\. Others stay for the Exec quoting.
std::string UnescapeValue(std::string_view value) {
  std::string result;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      result += value[i];
      continue;
    }
    switch (value[i + 1]) {
      case 's': result += ' '; break;
      case 'n': result += '\n'; break;
      case 't': result += '\t'; break;
      case 'r': result += '\r'; break;
      case '\\': result += '\\'; break;
      default:
        result += value[i];
        result += value[i + 1];
        break;
    }
    ++i;
  }
  return result;
}

std::vector<std::string> MimeappsLists(const XdgDirectories& dirs) {
  std::vector<std::string> bases{dirs.config_home};
  bases.insert(bases.end(), dirs.config_dirs.begin(), dirs.config_dirs.end());
  bases.push_back(dirs.data_home + "/applications");
  for (const std::string& dir : dirs.data_dirs) bases.push_back(dir + "/applications");
  std::vector<std::string> files;
  for (const std::string& base : bases) {
    for (const std::string& desktop : dirs.desktops)
      files.push_back(base + "/" + desktop + "-mimeapps.list");
    files.push_back(base + "/mimeapps.list");
  }
  return files;
}

std::vector<std::string> DataDirs(const XdgDirectories& dirs) {
  std::vector<std::string> all{dirs.data_home};
  all.insert(all.end(), dirs.data_dirs.begin(), dirs.data_dirs.end());
  return all;
}

// A desktop file ID names a file under applications/, where "-" may stand for a "/" of a
// subdirectory ("kde4-konqueror.desktop" is kde4/konqueror.desktop).
std::optional<std::string> FindDesktopFile(const XdgDirectories& dirs, const std::string& id) {
  if (id.empty() || id.find('/') != std::string::npos || id.find("..") != std::string::npos) {
    return std::nullopt;
  }
  for (const std::string& dir : DataDirs(dirs)) {
    const std::string base = dir + "/applications/";
    if (FileExists(base + id)) return base + id;
    for (std::size_t dash = id.find('-'); dash != std::string::npos; dash = id.find('-', dash + 1)) {
      const std::string nested = base + id.substr(0, dash) + "/" + id.substr(dash + 1);
      if (FileExists(nested)) return nested;
    }
  }
  return std::nullopt;
}

// The type of the highest-weighted glob "*<extension>" in one globs2 file.
std::optional<std::string> TypeFromGlobs(const std::string& path, const std::string& pattern) {
  std::optional<std::string> best;
  int best_weight = -1;
  for (const std::string& line : ReadLines(path)) {
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::string> fields = Split(line, ':');  // weight:type:glob[:flags]
    if (fields.size() < 3 || Lower(fields[2]) != pattern) continue;
    const int weight = std::atoi(fields[0].c_str());
    if (weight > best_weight) {
      best_weight = weight;
      best = fields[1];
    }
  }
  return best;
}

}  // namespace

XdgDirectories XdgDirectories::FromEnvironment() {
  const char* home_value = std::getenv("HOME");
  const std::string home = home_value != nullptr ? home_value : "";
  XdgDirectories dirs;
  dirs.config_home = HomePath("XDG_CONFIG_HOME", home + "/.config");
  dirs.config_dirs = PathList("XDG_CONFIG_DIRS", "/etc/xdg");
  dirs.data_home = HomePath("XDG_DATA_HOME", home + "/.local/share");
  dirs.data_dirs = PathList("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
  const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
  for (const std::string& desktop : Split(desktops != nullptr ? desktops : "", ':')) {
    if (!desktop.empty()) dirs.desktops.push_back(Lower(desktop));
  }
  return dirs;
}

std::optional<std::string> DesktopEntryExec(std::string_view content) {
  const std::vector<std::string> lines = Split(content, '\n');
  if (Lower(GroupValue(lines, "Desktop Entry", "Hidden").value_or("")) == "true") return std::nullopt;
  std::optional<std::string> exec = GroupValue(lines, "Desktop Entry", "Exec");
  if (!exec || exec->empty()) return std::nullopt;
  return UnescapeValue(*exec);
}

std::string MimeTypeOfExtension(const XdgDirectories& dirs, std::string_view extension) {
  const std::string pattern = "*" + Lower(extension);
  for (const std::string& dir : DataDirs(dirs)) {
    if (auto type = TypeFromGlobs(dir + "/mime/globs2", pattern)) return *type;
  }
  // Server-parsed pages are HTML too, whether or not the database lists their extension.
  return "text/html";
}

std::optional<std::string> FindDefaultApplicationCommand(const XdgDirectories& dirs,
                                                         std::string_view mime_type) {
  for (const std::string& list : MimeappsLists(dirs)) {
    const std::optional<std::string> ids = GroupValue(ReadLines(list), "Default Applications",
                                                      mime_type);
    if (!ids) continue;
    // The first listed application that is installed is the default.
    for (const std::string& id : Split(*ids, ';')) {
      if (auto path = FindDesktopFile(dirs, id)) {
        if (auto exec = DesktopEntryExec(ReadFile(*path))) return exec;
      }
    }
  }
  return std::nullopt;
}

std::optional<std::string> FindDefaultBrowserCommand(const XdgDirectories& dirs) {
  std::vector<std::string> tried;
  for (std::string_view extension : kHtmlExtensions) {
    const std::string type = MimeTypeOfExtension(dirs, extension);
    if (std::find(tried.begin(), tried.end(), type) != tried.end()) continue;
    tried.push_back(type);
    if (auto command = FindDefaultApplicationCommand(dirs, type)) return command;
  }
  return std::nullopt;
}

}  // namespace tessival::platform
