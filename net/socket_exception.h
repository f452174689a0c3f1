#pragma once
// The network layer's own exceptions. ENetException is their common base: the layer
// catches it where a failure is reported another way or deliberately dropped, so that
// anything else (out of memory, a logic error) still reaches the program's error report.
#include <stdexcept>
#include <string>

namespace tessival::net {

class ENetException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The exception class of the socket layer: its message is the whole report.
class ESocketException : public ENetException {
 public:
  explicit ESocketException(const std::string& message) : ENetException(message) {}
};

}  // namespace tessival::net
