#pragma once
// Where the documents an answer page names come from. The page came from a service, so
// whatever it names lies on the web, relative to the address it was fetched from (after
// relocations): an absolute path or ".." steps stay on the answer's host, as a browser
// takes them, and a name that would reach the local disk ("file:", a drive, any scheme
// but the web's) is refused. Nothing an answer names is ever read from the disk.
#include <optional>
#include <string>
#include <string_view>

namespace tessival::app {

class AnswerOrigin {
 public:
  AnswerOrigin() = default;
  explicit AnswerOrigin(std::string address) : address_(std::move(address)) {}

  // The web address `name` stands for, without its "#" anchor; nothing when refused
  // (also when the answer itself has no web address).
  std::optional<std::string> Resolve(std::string_view name) const;

 private:
  std::string address_;
};

}  // namespace tessival::app
