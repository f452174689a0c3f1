#include "net/line_buffer.h"

#include <algorithm>
#include <cstring>

namespace tessival::net {
namespace {

constexpr char kBackspace = 8;
constexpr char kTab = 9;
constexpr std::size_t kTabWidth = 8;

std::size_t SearchStart(std::size_t changed_from, std::size_t line_end_length) {
  return changed_from > line_end_length ? changed_from - line_end_length : 0;
}

}  // namespace

std::size_t LineBuffer::Append(std::string_view bytes, std::size_t line_end_length) {
  const std::size_t old_size = data_.size();
  data_.append(bytes);
  return SearchStart(old_size, line_end_length);
}

std::size_t LineBuffer::AppendEdited(std::string_view bytes, std::size_t line_end_length,
                                     std::string* echo) {
  std::size_t lowest_change = data_.size();
  for (const char byte : bytes) {
    if (byte == kBackspace) {
      if (data_.empty()) continue;
      data_.pop_back();
      lowest_change = std::min(lowest_change, data_.size());
      if (echo) echo->append("\b \b");
    } else if (byte == kTab) {
      const std::size_t spaces = kTabWidth - data_.size() % kTabWidth;
      data_.append(spaces, ' ');
      if (echo) echo->append(spaces, ' ');
    } else {
      data_.push_back(byte);
      if (echo) echo->push_back(byte);
    }
  }
  return SearchStart(lowest_change, line_end_length);
}

std::optional<std::size_t> LineBuffer::Find(std::string_view line_end, std::size_t from) const {
  if (line_end.empty() || from >= data_.size()) return std::nullopt;
  const std::size_t found = std::string_view(data_).find(line_end, from);
  if (found == std::string_view::npos) return std::nullopt;
  return found;
}

std::size_t LineBuffer::Take(char* buffer, std::size_t count) {
  const std::size_t taken = std::min(count, data_.size());
  if (taken == 0) return 0;
  std::memcpy(buffer, data_.data(), taken);
  data_.erase(0, taken);
  return taken;
}

void LineBuffer::Clear() {
  data_.clear();
  data_.shrink_to_fit();
}

}  // namespace tessival::net
