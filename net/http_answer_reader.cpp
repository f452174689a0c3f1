#include "net/http_answer_reader.h"

#include <cstring>

#include "net/wsocket_resolve.h"

namespace tessival::net {

void HttpAnswerReader::Reset() {
  fill_ = 0;
  phase_ = Phase::kHeader;
  in_header_ = false;
}

std::span<char> HttpAnswerReader::HeaderSpace() {
  if (phase_ != Phase::kHeader || fill_ >= kLineLimit) return {};
  return {buffer_.data() + fill_, kLineLimit - fill_};
}

void HttpAnswerReader::HeaderReceived(std::size_t count, Sink& sink) {
  if (phase_ != Phase::kHeader) return;
  fill_ += count;
  buffer_[fill_] = '\0';
  SplitLines(sink);
}

void HttpAnswerReader::BodyReceived(const char* data, std::size_t length, Sink& sink) {
  if (phase_ == Phase::kBody && length > 0) sink.BodyChunk(data, length);
}

void HttpAnswerReader::Closed(Sink& sink) {
  if (phase_ != Phase::kHeader || fill_ == 0) return;
  const std::string rest(buffer_.data(), fill_);
  fill_ = 0;
  HandleLine(rest, sink);
}

void HttpAnswerReader::SplitLines(Sink& sink) {
  char* buffer = buffer_.data();
  while (phase_ == Phase::kHeader && fill_ > 0) {
    const std::size_t limit = strnlen(buffer, fill_);
    const char* lf = static_cast<const char*>(std::memchr(buffer, '\n', limit));
    if (lf == nullptr) return;
    const std::size_t length = static_cast<std::size_t>(lf - buffer);
    const std::string line(buffer, length + 1);    // with its line end
    std::memmove(buffer, lf + 1, fill_ - length);  // the rest and its zero byte
    fill_ -= length + 1;
    HandleLine(line, sink);
  }
}

void HttpAnswerReader::HandleLine(const std::string& raw_line, Sink& sink) {
  std::string line = raw_line;
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  if (!in_header_) {
    in_header_ = true;
    sink.HeaderBegin();
  }
  if (LowerCase(line.substr(0, 6)) == "<html>") {
    // No header at all: the answer is the document, and reaches the sink as it came,
    // line breaks included.
    in_header_ = false;
    phase_ = Phase::kBody;
    sink.NoHeader();
    sink.BodyChunk(raw_line.data(), raw_line.size());
    PassRestAsBody(sink);
    return;
  }
  if (!line.empty()) {
    sink.HeaderField(line);
    return;
  }
  in_header_ = false;
  switch (sink.HeaderEnd()) {
    case HeaderOutcome::kReadBody:
      phase_ = Phase::kBody;
      PassRestAsBody(sink);
      break;
    case HeaderOutcome::kReadThisBlockOnly:
      phase_ = Phase::kBody;
      PassRestAsBody(sink);
      phase_ = Phase::kDone;
      break;
    case HeaderOutcome::kStop:
      fill_ = 0;
      phase_ = Phase::kDone;
      break;
  }
}

// What came behind the header in the same block is the beginning of the body.
void HttpAnswerReader::PassRestAsBody(Sink& sink) {
  const std::size_t length = fill_;
  fill_ = 0;
  if (length > 0) sink.BodyChunk(buffer_.data(), length);
}

}  // namespace tessival::net
