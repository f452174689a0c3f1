#pragma once
// The byte store of line mode: received bytes are appended (optionally edited the way an
// interactive terminal would: backspace and tab), searched for the line end, and taken
// from the front. No I/O: the line socket and the fuzzer drive it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessival::net {

class LineBuffer {
 public:
  // Appends bytes unchanged; returns where a search for a line end of the given length
  // must start so that one split across two receptions is found.
  std::size_t Append(std::string_view bytes, std::size_t line_end_length);
  // Appends bytes with line editing: a backspace removes the byte before it (received
  // earlier or now), a tab becomes spaces up to the next multiple of 8. What a terminal
  // should see is added to *echo when echo is given. Returns the search start as Append.
  std::size_t AppendEdited(std::string_view bytes, std::size_t line_end_length, std::string* echo);

  // Position of line_end at or after from, if any.
  std::optional<std::size_t> Find(std::string_view line_end, std::size_t from) const;
  // Moves up to count bytes from the front into buffer; returns the number moved.
  std::size_t Take(char* buffer, std::size_t count);

  std::size_t size() const { return data_.size(); }
  bool empty() const { return data_.empty(); }
  void Clear();
  std::string_view view() const { return data_; }

 private:
  std::string data_;
};

}  // namespace tessival::net
