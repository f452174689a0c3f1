#pragma once
// What the front end checks of an answer the client reported as done: that something
// came at all and that the body is as long as the server said, and, while it arrives,
// that it stays within the size the program will keep.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/stream.h"

namespace tessival::app {

// An answer is downloaded up to this size; the file so far is kept, but not shown.
inline constexpr std::int64_t kAnswerDownloadLimit = std::int64_t{512} << 20;

// The status text of an answer that did not come whole: "leere Antwort" when the server
// closed without a byte (no status line, no body), "Antwort unvollständig: N von M
// Bytes" when the body is shorter than its Content-Length; nothing for a whole answer
// (a header-less answer with a body is whole: its end is the connection's end).
std::optional<std::string> IncompleteAnswerText(int status_code, std::int64_t content_length,
                                                std::int64_t body_bytes);

// A receive stream that passes at most `limit` bytes on to `target`; the write that
// would pass it stores what still fits and throws platform::EStreamError, which ends the
// download.
class CappedStream : public platform::TStream {
 public:
  CappedStream(platform::TStream& target, std::int64_t limit) : target_(target), limit_(limit) {}
  std::size_t Read(void* buffer, std::size_t count) override { return target_.Read(buffer, count); }
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override {
    return target_.Seek(offset, origin);
  }
  bool LimitReached() const { return limit_reached_; }

 private:
  platform::TStream& target_;
  std::int64_t limit_;
  bool limit_reached_ = false;
};

}  // namespace tessival::app
