#pragma once
// A scratch directory for one test, removed with everything in it afterwards.
#include <filesystem>
#include <fstream>
#include <string>

namespace tessival::testing {

class TempTree {
 public:
  TempTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tessival-XXXXXX").string();
    root_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
  }
  ~TempTree() {
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  std::string Path(const std::string& relative) const { return root_ + "/" + relative; }

  // Writes a file below the root, making its directories.
  std::string Write(const std::string& relative, const std::string& content) const {
    const std::filesystem::path path = Path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }

 private:
  std::string root_;
};

}  // namespace tessival::testing
