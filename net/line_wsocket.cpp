#include "net/line_wsocket.h"

#include <algorithm>
#include <vector>

namespace tessival::net {

void TCustomLineWSocket::SetLineMode(bool value) {
  if (value == line_mode_) return;
  line_mode_ = value;
  if (!line_buffer_.empty() || rcvd_length_ > 0) Window().PostMessage(WM_TRIGGER_DATA_AVAILABLE);
}

void TCustomLineWSocket::HandleWindowMessage(platform::UINT message, platform::WPARAM wparam,
                                             platform::LPARAM lparam) {
  if (message == WM_TRIGGER_DATA_AVAILABLE) return RedeliverBuffered();
  TCustomTlsWSocket::HandleWindowMessage(message, wparam, lparam);
}

// Repeats while bytes are buffered and a pass takes some of them: a pass that leaves the
// buffer as it was (no new data, no complete line) would repeat for ever.
void TCustomLineWSocket::RedeliverBuffered() {
  while (!line_buffer_.empty()) {
    const std::size_t before = line_buffer_.size();
    if (!TriggerDataAvailable(0)) break;
    if (line_buffer_.size() == before) break;
  }
}

bool TCustomLineWSocket::TriggerDataAvailable(Word error) {
  if (!line_mode_ || line_end_.empty() || Negotiating()) {
    return TCustomTlsWSocket::TriggerDataAvailable(error);
  }
  std::size_t search_from = 0;
  ReceiveIntoLineBuffer(&search_from);
  DeliverLines(search_from);
  CheckLineLimit();
  return true;
}

void TCustomLineWSocket::ReceiveIntoLineBuffer(std::size_t* search_from) {
  if (HSocket() == platform::INVALID_SOCKET && !Negotiating()) return;
  int count = TCustomTlsWSocket::GetRcvdCount();
  if (count < 0) return;
  if (count == 0) count = 255;
  std::vector<char> incoming(static_cast<std::size_t>(count));
  const int received = TCustomTlsWSocket::DoRecv(incoming.data(), count, 0);
  if (received <= 0) return;
  NoteReceived();
  const std::string_view bytes(incoming.data(), static_cast<std::size_t>(received));
  if (line_edit_) {
    std::string echo;
    *search_from = line_buffer_.AppendEdited(bytes, line_end_.size(), line_echo_ ? &echo : nullptr);
    Echo(echo);
  } else {
    *search_from = line_buffer_.Append(bytes, line_end_.size());
    if (line_echo_) Echo(std::string(bytes));
  }
}

void TCustomLineWSocket::DeliverLines(std::size_t search_from) {
  while (line_mode_) {
    const auto found = line_buffer_.Find(line_end_, search_from);
    if (!found) return;
    rcvd_length_ = *found + line_end_.size();
    if (!OfferReadyLine()) return;
    search_from = 0;
  }
}

bool TCustomLineWSocket::OfferReadyLine() {
  while (line_mode_ && rcvd_length_ > 0) {
    if (!OnDataAvailable) {
      // Nobody reads lines: this one is dropped.
      std::vector<char> dropped(rcvd_length_);
      line_buffer_.Take(dropped.data(), rcvd_length_);
      rcvd_length_ = 0;
      return true;
    }
    const std::size_t before = rcvd_length_;
    OnDataAvailable(*this, 0);
    if (rcvd_length_ == before) return false;  // the handler left it: try again later
  }
  // Line mode switched off part-way: the rest stays buffered as raw data.
  rcvd_length_ = 0;
  return true;
}

void TCustomLineWSocket::CheckLineLimit() {
  if (line_limit_ <= 0 || line_buffer_.size() <= static_cast<std::size_t>(line_limit_)) return;
  if (line_buffer_.Find(line_end_, 0)) return;
  bool clear_data = true;
  if (OnLineLimitExceeded) {
    OnLineLimitExceeded(*this, static_cast<int>(line_buffer_.size()), clear_data);
  }
  if (clear_data) {
    line_buffer_.Clear();
    rcvd_length_ = 0;
  }
}

void TCustomLineWSocket::Echo(const std::string& bytes) {
  if (bytes.empty() || State() != wsConnected) return;
  try {
    Send(bytes.data(), static_cast<int>(bytes.size()));
  } catch (const ESocketException&) {
  }
}

// The rest of the buffer is the connection's last line, offered until it is read; with
// no handler it is dropped.
void TCustomLineWSocket::TriggerSessionClosed(Word error) {
  if (line_mode_ && !line_buffer_.empty()) {
    rcvd_length_ = line_buffer_.size();
    OfferReadyLine();
  }
  line_buffer_.Clear();
  rcvd_length_ = 0;
  TCustomTlsWSocket::TriggerSessionClosed(error);
}

int TCustomLineWSocket::DoRecv(void* buffer, int size, int flags) {
  if (size <= 0) return TCustomTlsWSocket::DoRecv(buffer, size, flags);
  char* out = static_cast<char*>(buffer);
  if (line_mode_ && rcvd_length_ > 0) {
    const std::size_t taken = line_buffer_.Take(out,
                                                std::min(rcvd_length_, static_cast<std::size_t>(size)));
    rcvd_length_ -= taken;
    return static_cast<int>(taken);
  }
  if (!line_mode_ && !line_buffer_.empty()) {
    return static_cast<int>(line_buffer_.Take(out, static_cast<std::size_t>(size)));
  }
  return TCustomTlsWSocket::DoRecv(buffer, size, flags);
}

int TCustomLineWSocket::GetRcvdCount() {
  if (line_mode_) return static_cast<int>(rcvd_length_);
  return TCustomTlsWSocket::GetRcvdCount();
}

}  // namespace tessival::net
