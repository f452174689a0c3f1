#pragma once
// Where the style-sheet reader takes its characters from: the HTML reader's character
// stream for a STYLE element, or the text of a linked sheet.
#include <cstddef>
#include <string_view>

namespace tessival::html {

// Marks the end of input; a source keeps returning it once it is exhausted.
constexpr char EofChar = 26;

class TCssCharSource {
 public:
  virtual ~TCssCharSource() = default;
  // The next character, consumed.
  virtual char NextChar() = 0;
  // The next character without consuming it.
  virtual char PeekChar() = 0;
};

class TStringCharSource final : public TCssCharSource {
 public:
  explicit TStringCharSource(std::string_view text) : Text(text) {}
  char NextChar() override { return Pos < Text.size() ? Text[Pos++] : EofChar; }
  char PeekChar() override { return Pos < Text.size() ? Text[Pos] : EofChar; }
  std::size_t Position() const { return Pos; }
  // What is left to read, and passing over part of it: for readers that take runs at once.
  std::string_view Rest() const { return Text.substr(Pos); }
  void Skip(std::size_t count) { Pos += count; }
  // The `count` characters read last (at most Position()).
  std::string_view Last(std::size_t count) const { return Text.substr(Pos - count, count); }

 private:
  std::string_view Text;
  std::size_t Pos = 0;
};

}  // namespace tessival::html
