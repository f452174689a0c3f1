#include "app/working_folder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace tessival::app {

namespace fs = std::filesystem;

fs::path ChooseWorkingFolder(const fs::path& current, const char* home, const char* xdg_data_home) {
  if (home == nullptr || *home == '\0') return current;
  std::error_code error;
  if (!fs::equivalent(current, home, error) || error) return current;
  const fs::path data_home = xdg_data_home != nullptr && fs::path(xdg_data_home).is_absolute()
                                 ? fs::path(xdg_data_home)
                                 : fs::path(home) / ".local" / "share";
  return data_home / "tessival";
}

std::optional<std::string> EnterWorkingFolder(const fs::path& folder) {
  std::error_code error;
  fs::create_directories(folder.parent_path(), error);
  if (error) return error.message();
  // mkdir with the mode itself: no moment in which others could open the folder.
  if (::mkdir(folder.c_str(), S_IRWXU) != 0 && errno != EEXIST) return std::strerror(errno);
  fs::current_path(folder, error);
  if (error) return error.message();
  return std::nullopt;
}

}  // namespace tessival::app
