#pragma once
#include <stdexcept>

namespace tessival::app {

// An input/output failure of the front end's own files ("url.txt", "clip.tmp", the page
// conversion). It reaches the user as an error box; the program goes on.
class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tessival::app
