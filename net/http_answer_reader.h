#pragma once
// Reading one HTTP answer, without any I/O: the client puts what arrives into HeaderSpace()
// (or hands a body block over), and the reader splits the header into lines, notices an
// answer that has no header at all, and passes the body on. What a header line means
// (status, length, relocation, cookies) is the sink's business.
//
//   kHeader -empty line, sink reads on-> kBody (the rest of the block is body at once)
//   kHeader -empty line, sink stops---> kDone (the rest of the block is not read)
//   kHeader -first line "<html>"------> kBody (that line and the rest of the block are body)
//
// A header line is found only up to a zero byte, as in a C string, and must fit the
// kLineLimit-byte buffer with its line end: a fuller buffer leaves no HeaderSpace() and
// the answer can never go on.
#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace tessival::net {

class HttpAnswerReader {
 public:
  static constexpr std::size_t kLineLimit = 8192;

  enum class Phase { kHeader, kBody, kDone };
  // What the sink makes of the header's end.
  enum class HeaderOutcome {
    kReadBody,           // the body follows until the server closes
    kReadThisBlockOnly,  // what came with the header is read, then the answer is over
    kStop,               // nothing more of this answer is read
  };

  class Sink {
   public:
    virtual ~Sink() = default;
    virtual void HeaderBegin() = 0;
    // A non-empty header line (the status line included), without its line end.
    virtual void HeaderField(const std::string& line) = 0;
    virtual HeaderOutcome HeaderEnd() = 0;
    // The first line is document text: the answer has no header. The body follows.
    virtual void NoHeader() = 0;
    virtual void BodyChunk(const char* data, std::size_t length) = 0;
  };

  HttpAnswerReader() : buffer_(kLineLimit + 1, '\0') {}

  // Ready for a new answer; whatever was buffered is dropped.
  void Reset();
  Phase phase() const { return phase_; }
  // Between the first header line and the header's end.
  bool InHeader() const { return in_header_; }

  // Room behind the header bytes already buffered; empty when a line fills the buffer.
  std::span<char> HeaderSpace();
  // count bytes were written into HeaderSpace().
  void HeaderReceived(std::size_t count, Sink& sink);
  // A block that arrived while the body is read; ignored once the answer is done.
  void BodyReceived(const char* data, std::size_t length, Sink& sink);
  // The server closed: header bytes after the last line break are a last line, so that
  // an answer without header and without a final line break is not lost.
  void Closed(Sink& sink);

 private:
  void SplitLines(Sink& sink);
  void HandleLine(const std::string& raw_line, Sink& sink);
  void PassRestAsBody(Sink& sink);

  std::vector<char> buffer_;  // kLineLimit bytes and a zero byte behind them
  std::size_t fill_ = 0;
  Phase phase_ = Phase::kHeader;
  bool in_header_ = false;
};

}  // namespace tessival::net
