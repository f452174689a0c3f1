#pragma once
// TCustomLineWSocket: optional line mode. Received bytes are collected and handed to
// OnDataAvailable one complete line (line end included) at a time, with optional echo and
// terminal-style editing, and a limit on the length of an unfinished line.
#include <functional>
#include <string>

#include "net/line_buffer.h"
#include "net/tls_wsocket.h"

namespace tessival::net {

// Message on the socket's window: deliver buffered data again.
constexpr platform::UINT WM_TRIGGER_DATA_AVAILABLE = platform::WM_USER + 20;  // 1044

using TLineLimitEvent = std::function<void(TCustomWSocket& sender, int rcvd_length, bool& clear_data)>;

class TCustomLineWSocket : public TCustomTlsWSocket {
 public:
  TCustomLineWSocket() = default;
  explicit TCustomLineWSocket(platform::MessageLoop& loop) : TCustomTlsWSocket(loop) {}

  bool LineMode() const { return line_mode_; }
  void SetLineMode(bool value);
  int LineLimit() const { return line_limit_; }
  void SetLineLimit(int value) { line_limit_ = value; }
  const std::string& LineEnd() const { return line_end_; }
  void SetLineEnd(const std::string& value) { line_end_ = value; }
  bool LineEcho() const { return line_echo_; }
  void SetLineEcho(bool value) { line_echo_ = value; }
  bool LineEdit() const { return line_edit_; }
  void SetLineEdit(bool value) { line_edit_ = value; }

  TLineLimitEvent OnLineLimitExceeded;

 protected:
  bool TriggerDataAvailable(Word error) override;
  void TriggerSessionClosed(Word error) override;
  int DoRecv(void* buffer, int size, int flags) override;
  int GetRcvdCount() override;
  void HandleWindowMessage(platform::UINT message, platform::WPARAM wparam,
                           platform::LPARAM lparam) override;

 private:
  void ReceiveIntoLineBuffer(std::size_t* search_from);
  void DeliverLines(std::size_t search_from);
  // Offers the ready line to the handler until it is read; false when it was not touched.
  bool OfferReadyLine();
  void CheckLineLimit();
  void Echo(const std::string& bytes);
  void RedeliverBuffered();

  bool line_mode_ = false;
  int line_limit_ = 65536;
  std::string line_end_ = "\r\n";
  bool line_echo_ = false;
  bool line_edit_ = false;
  LineBuffer line_buffer_;
  std::size_t rcvd_length_ = 0;  // unread bytes of the ready line at the buffer's front
};

}  // namespace tessival::net
