#pragma once
#include <stdexcept>
#include <string>

namespace tessival::viewer {

// A page that cannot be loaded: "Can't locate file: " + name.
class EfvLoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tessival::viewer
