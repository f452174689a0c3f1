#pragma once
// The exception class of the socket layer: its message is the whole report.
#include <stdexcept>
#include <string>

namespace tessival::net {

class ESocketException : public std::runtime_error {
 public:
  explicit ESocketException(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tessival::net
