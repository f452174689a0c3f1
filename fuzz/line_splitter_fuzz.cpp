// Arbitrary received bytes, in arbitrary receptions, through line mode's buffer with and
// without editing: every line taken ends with the line end, and the bytes taken plus the
// bytes left equal what the buffer held.
//
// Input: byte 0 picks editing and the line end ("\r\n", "\n" or "END"); then chunks, each
// led by its length byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "net/line_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  static const char* const kLineEnds[] = {"\r\n", "\n", "END", "\r\n"};
  const std::string line_end = kLineEnds[data[0] & 3];
  const bool edit = data[0] & 4;
  tessival::net::LineBuffer buffer;
  std::string echo;
  std::size_t pos = 1;
  while (pos < size) {
    const std::size_t wanted = data[pos++];
    const std::size_t chunk = std::min<std::size_t>(wanted, size - pos);
    const std::string_view bytes(reinterpret_cast<const char*>(data + pos), chunk);
    pos += chunk;
    std::size_t from = edit ? buffer.AppendEdited(bytes, line_end.size(), &echo)
                            : buffer.Append(bytes, line_end.size());
    while (const auto found = buffer.Find(line_end, from)) {
      const std::size_t held = buffer.size();
      std::string line(*found + line_end.size(), '\0');
      if (buffer.Take(line.data(), line.size()) != line.size()) std::abort();
      if (line.compare(line.size() - line_end.size(), line_end.size(), line_end) != 0) std::abort();
      if (buffer.size() + line.size() != held) std::abort();
      from = 0;
    }
    if (buffer.size() > 1 << 20) buffer.Clear();  // the line limit's job in the socket
  }
  return 0;
}
