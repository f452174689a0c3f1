#include "html/selection_buffers.h"

#include <string>

#include "platform/clipboard.h"

namespace tessival::html {
namespace {

constexpr char ImageMarker = 2;
constexpr char ControlMarker = 4;
constexpr char LineBreakMarker = 8;

}  // namespace

void SelTextCount::AddText(const char* chars, int count) {
  for (int i = 0; i < count; ++i) {
    if (chars[i] != ImageMarker && chars[i] != ControlMarker) ++length_;
  }
}

int SelTextCount::Terminate() { return length_; }

void SelTextCount::AddTextCR(const char* chars, int count) {
  AddText(chars, count);
  AddText("\r\n", 2);
}

SelTextBuf::SelTextBuf(char* buffer, int capacity) {
  buffer_ = buffer;
  capacity_ = capacity;
}

void SelTextBuf::AddText(const char* chars, int count) {
  for (int i = 0; i < count && length_ < capacity_ - 1; ++i) {
    const char c = chars[i];
    if (c != ImageMarker && c != ControlMarker && c != LineBreakMarker) buffer_[length_++] = c;
  }
}

int SelTextBuf::Terminate() {
  // A buffer of no bytes has no room even for the zero.
  if (capacity_ > 0) buffer_[length_] = '\0';
  return length_ + 1;
}

ClipBuffer::ClipBuffer() : ClipBuffer(std::make_unique<char[]>(Size)) {}

ClipBuffer::ClipBuffer(std::unique_ptr<char[]> storage)
    : SelTextBuf(storage.get(), Size), storage_(std::move(storage)) {}

int ClipBuffer::Terminate() {
  const int result = SelTextBuf::Terminate();
  platform::Clipboard::System().SetText(std::string(buffer_, static_cast<std::size_t>(length_)));
  return result;
}

}  // namespace tessival::html
