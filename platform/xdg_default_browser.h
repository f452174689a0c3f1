#pragma once
// Finds the desktop's default web browser the freedesktop way: the MIME type of the HTML
// file name extensions, the default application for that type in the mimeapps.list files
// of the configuration and data directories, and the Exec line of its .desktop file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessival::platform {

struct XdgDirectories {
  std::string config_home;               // XDG_CONFIG_HOME, else ~/.config
  std::vector<std::string> config_dirs;  // XDG_CONFIG_DIRS, else /etc/xdg
  std::string data_home;                 // XDG_DATA_HOME, else ~/.local/share
  std::vector<std::string> data_dirs;    // XDG_DATA_DIRS, else /usr/local/share:/usr/share
  std::vector<std::string> desktops;     // XDG_CURRENT_DESKTOP, lower-cased

  static XdgDirectories FromEnvironment();
};

// The extensions whose types are asked for the default browser, in this order.
inline constexpr std::string_view kHtmlExtensions[] = {".htm", ".html", ".shtml", ".shtm"};

// The Exec line of a desktop entry's text, with the entry's own escapes (\s \n \t \r \\)
// resolved; nothing when the entry is hidden or has no Exec line.
std::optional<std::string> DesktopEntryExec(std::string_view content);

// The MIME type of a file name extension such as ".htm" from the shared MIME database's
// glob lists; "text/html" when the database does not know it.
std::string MimeTypeOfExtension(const XdgDirectories& dirs, std::string_view extension);

// The Exec line (with the desktop file's own escapes resolved) of the default application
// for a MIME type, or nothing when none is set or installed.
std::optional<std::string> FindDefaultApplicationCommand(const XdgDirectories& dirs,
                                                         std::string_view mime_type);

// The default browser's command: the first type of kHtmlExtensions that has a default
// application. Nothing when there is none.
std::optional<std::string> FindDefaultBrowserCommand(const XdgDirectories& dirs);

}  // namespace tessival::platform
