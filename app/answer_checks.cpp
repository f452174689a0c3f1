#include "app/answer_checks.h"

namespace tessival::app {

std::optional<std::string> IncompleteAnswerText(int status_code, std::int64_t content_length,
                                                std::int64_t body_bytes) {
  if (status_code == 0 && body_bytes == 0) return std::string("leere Antwort");
  if (content_length >= 0 && body_bytes < content_length) {
    return "Antwort unvollst\xE4ndig: " + std::to_string(body_bytes) + " von " +
           std::to_string(content_length) + " Bytes";
  }
  return std::nullopt;
}

std::size_t CappedStream::Write(const void* buffer, std::size_t count) {
  const std::int64_t room = limit_ - target_.Position();
  if (static_cast<std::int64_t>(count) <= room) return target_.Write(buffer, count);
  limit_reached_ = true;
  if (room > 0) target_.WriteBuffer(buffer, static_cast<std::size_t>(room));
  throw platform::EStreamError("the answer is larger than the program keeps");
}

}  // namespace tessival::app
