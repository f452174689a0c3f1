#pragma once
// Reads the desktop's font configuration on a thread of its own while the application
// connects to the display and builds its window. The first use of any font reads it anyway
// (dozens of XML files and the font caches, the largest single cost of starting), and the
// font library is made to be started from any thread; the toolkit's own font database is
// not, so the thread touches nothing but the font library.
#include <thread>

namespace tessival::platform {

class FontConfigPreload {
 public:
  // Starts the reading; where no thread can be started, the first font use reads it instead.
  FontConfigPreload();
  ~FontConfigPreload();  // waits, so no thread outlives the program's start
  FontConfigPreload(const FontConfigPreload&) = delete;
  FontConfigPreload& operator=(const FontConfigPreload&) = delete;

  // Returns once the configuration is read. Call it before the first use of a font: the
  // toolkit then finds it read and does not read it a second time beside the thread.
  void Wait();

 private:
  std::thread thread_;
};

}  // namespace tessival::platform
