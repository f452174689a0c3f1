#pragma once
// Where a section's copy operation puts the selected characters: a counter (to learn how
// long a selection is), a caller's buffer, or the clipboard.
#include <memory>
#include <string_view>

namespace tessival::html {

class SelTextCount {
 public:
  virtual ~SelTextCount() = default;
  // Counts every character except the image and control markers 2 and 4.
  virtual void AddText(const char* chars, int count);
  // The length; buffers write their terminating zero first.
  virtual int Terminate();
  // AddText of the characters, then of CR LF: where a line ends.
  void AddTextCR(const char* chars, int count);
  int Length() const { return length_; }

 protected:
  char* buffer_ = nullptr;
  int capacity_ = 0;
  int length_ = 0;
};

// Copies into a caller's buffer what fits in capacity − 1 bytes, leaving out the markers
// 2, 4 and the line-break marker 8; the count above includes 8, so a buffer sized from it
// is always large enough.
class SelTextBuf : public SelTextCount {
 public:
  SelTextBuf(char* buffer, int capacity);
  void AddText(const char* chars, int count) override;
  // Writes the zero byte after the text and returns the length + 1.
  int Terminate() override;
};

// A SelTextBuf over a buffer of its own, whose text goes to the clipboard.
class ClipBuffer : public SelTextBuf {
 public:
  static constexpr int Size = 32500;
  ClipBuffer();
  int Terminate() override;

 private:
  ClipBuffer(std::unique_ptr<char[]> storage);
  std::unique_ptr<char[]> storage_;
};

}  // namespace tessival::html
