#pragma once
// Where the program keeps its working files ("url.txt", "clip.tmp", the fetched pages and
// their types). Started in the home folder, as a desktop menu starts it, it would scatter
// them there: it keeps them in its own data folder instead. Started anywhere else, it works
// in the current directory, where its scripts and tests expect the files.
#include <filesystem>
#include <optional>
#include <string>

namespace tessival::app {

// The folder to work in, given the current directory and the values of HOME and
// XDG_DATA_HOME (null when unset). A relative or empty XDG_DATA_HOME is ignored, as the
// desktop's rules say: the data folder is then HOME/.local/share.
std::filesystem::path ChooseWorkingFolder(const std::filesystem::path& current, const char* home,
                                          const char* xdg_data_home);

// Creates `folder` (the last step with mode 0700: only its owner may read the queries) and
// makes it the current directory. The reason in words when it cannot.
std::optional<std::string> EnterWorkingFolder(const std::filesystem::path& folder);

}  // namespace tessival::app
