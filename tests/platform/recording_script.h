#pragma once
// A small program that records its arguments: each into a file of its own (arg1, arg2,
// ...) in a scratch tree. When the tree holds the pipe made by ExpectDetachedRecording,
// the script writes to it when done, so a test can wait for a program it did not start
// itself without polling.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "temp_tree.h"

namespace tessival::testing {

inline std::string RecordingScript(const TempTree& tree) {
  std::string path =
      tree.Write("record.sh", "#!/bin/sh\ni=0\nfor a in \"$@\"; do i=$((i+1)); printf '%s' \"$a\" > \"" +
                                  tree.Path("arg") + "$i\"; done\nif [ -p \"" + tree.Path("done") +
                                  "\" ]; then echo done > \"" + tree.Path("done") + "\"; fi\n");
  chmod(path.c_str(), 0755);
  return path;
}

inline void ExpectDetachedRecording(const TempTree& tree) { mkfifo(tree.Path("done").c_str(), 0600); }

// Blocks until the script has recorded everything (opening the pipe waits for the writer).
inline void WaitForDetachedRecording(const TempTree& tree) {
  std::ifstream done(tree.Path("done"));
  std::string line;
  std::getline(done, line);
}

inline std::vector<std::string> RecordedArguments(const TempTree& tree) {
  std::vector<std::string> arguments;
  for (int i = 1;; ++i) {
    std::ifstream file(tree.Path("arg" + std::to_string(i)), std::ios::binary);
    if (!file) return arguments;
    std::ostringstream content;
    content << file.rdbuf();
    arguments.push_back(content.str());
  }
}

}  // namespace tessival::testing
