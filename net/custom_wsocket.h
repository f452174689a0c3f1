#pragma once
// TCustomWSocket: an event-driven socket on the platform message loop.
//
// Every socket owns a hidden window; the facade reports readiness to it as message 1025
// and lookups as 1026/1027, and the socket turns them into its On... events. Outgoing data
// is queued in a chain of TBuffer blocks and drained as the network accepts it; incoming
// data stays in the network stack until a handler reads it.
//
//   wsClosed -Connect-> wsOpened -> wsConnecting -(connect or first read)-> wsConnected
//   wsClosed -Listen-> wsOpened -> wsBound -> wsListening
//   any -Close/Abort/peer close-> wsClosed (defaults restored)
#include <netinet/in.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "net/buffer.h"
#include "net/socket_exception.h"
#include "platform/message_window.h"
#include "platform/wsock_api.h"

namespace tessival::platform {
class MessageLoop;
}

namespace tessival::net {

using Word = std::uint16_t;
using platform::TSocket;

enum TSocketState {
  wsInvalidState,
  wsOpened,
  wsBound,
  wsConnecting,
  wsConnected,
  wsAccepting,
  wsListening,
  wsClosed
};
enum TSocketSendFlags { wsSendNormal, wsSendUrgent };
enum TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };
enum TWSocketOption { wsoNoReceiveLoop, wsoTcpNoDelay };
using TWSocketOptions = std::set<TWSocketOption>;

// The socket's window messages.
constexpr platform::UINT WM_ASYNCSELECT = platform::WM_USER + 1;         // 1025
constexpr platform::UINT WM_ASYNCGETHOSTBYNAME = platform::WM_USER + 2;  // 1026
constexpr platform::UINT WM_ASYNCGETHOSTBYADDR = platform::WM_USER + 3;  // 1027
constexpr platform::UINT WM_CLOSE_DELAYED = platform::WM_USER + 4;       // 1028
constexpr platform::UINT WM_WSOCKET_RELEASE = platform::WM_USER + 5;     // 1029
constexpr platform::UINT WM_TRIGGER_EXCEPTION = platform::WM_USER + 6;   // 1030

class TCustomWSocket;
using TDataAvailable = std::function<void(TCustomWSocket& sender, Word error)>;
using TDataSent = TDataAvailable;
using TSessionClosed = TDataAvailable;
using TSessionAvailable = TDataAvailable;
using TSessionConnected = TDataAvailable;
using TDnsLookupDone = TDataAvailable;
using TSendData = std::function<void(TCustomWSocket& sender, int bytes_sent)>;
using TChangeState =
    std::function<void(TCustomWSocket& sender, TSocketState old_state, TSocketState new_state)>;
using TBgExceptionEvent =
    std::function<void(TCustomWSocket& sender, const std::exception& e, bool& can_close)>;
using TNotifyEvent = std::function<void(TCustomWSocket& sender)>;

class TCustomWSocket {
 public:
  explicit TCustomWSocket(platform::MessageLoop& loop);
  TCustomWSocket();  // on this thread's loop
  virtual ~TCustomWSocket();
  TCustomWSocket(const TCustomWSocket&) = delete;
  TCustomWSocket& operator=(const TCustomWSocket&) = delete;

  // Properties ------------------------------------------------------------------------
  const std::string& Addr() const { return addr_.text; }
  void SetAddr(const std::string& value);
  const std::string& Port() const { return port_.text; }
  void SetPort(const std::string& value);
  const std::string& Proto() const { return proto_.text; }
  void SetProto(const std::string& value);
  const std::string& LocalAddr() const { return local_addr_; }
  void SetLocalAddr(const std::string& value);
  const std::string& LocalPort() const { return local_port_str_; }
  void SetLocalPort(const std::string& value);
  std::string PeerAddr() { return GetPeerAddr(); }
  std::string PeerPort() { return GetPeerPort(); }
  const std::string& DnsResult() const { return dns_result_; }
  const std::vector<std::string>& DnsResultList() const { return dns_result_list_; }
  TSocketState State() const { return state_; }
  std::int64_t ReadCount() const { return read_count_; }
  int RcvdCount() { return GetRcvdCount(); }
  int LastError() const { return last_error_; }
  bool MultiThreaded() const { return multi_threaded_; }
  void SetMultiThreaded(bool value) { multi_threaded_ = value; }
  bool MultiCast() const { return multi_cast_; }
  void SetMultiCast(bool value) { multi_cast_ = value; }
  const std::string& MultiCastAddrStr() const { return multi_cast_addr_str_; }
  void SetMultiCastAddrStr(const std::string& value) { multi_cast_addr_str_ = value; }
  int MultiCastIpTTL() const { return multi_cast_ip_ttl_; }
  void SetMultiCastIpTTL(int value) { multi_cast_ip_ttl_ = value; }
  bool ReuseAddr() const { return reuse_addr_; }
  void SetReuseAddr(bool value) { reuse_addr_ = value; }
  const TWSocketOptions& ComponentOptions() const { return component_options_; }
  void SetComponentOptions(TWSocketOptions value) { component_options_ = std::move(value); }
  int FlushTimeout() const { return flush_timeout_; }
  void SetFlushTimeout(int value) { flush_timeout_ = value; }
  TSocketSendFlags SendFlags() const;
  void SetSendFlags(TSocketSendFlags value);
  TSocketLingerOnOff LingerOnOff() const { return linger_on_off_; }
  void SetLingerOnOff(TSocketLingerOnOff value) { linger_on_off_ = value; }
  int LingerTimeout() const { return linger_timeout_; }
  void SetLingerTimeout(int value) { linger_timeout_ = value; }
  TSocket HSocket() const { return hsocket_; }
  bool AllSent() const { return all_sent_; }
  // Number of blocks in the send chain (an emptied last block stays for reuse).
  int SendBufferCount() const { return static_cast<int>(buffer_list_.size()); }
  platform::MessageWindow& Window();

  // Events ----------------------------------------------------------------------------
  TDataAvailable OnDataAvailable;
  TDataSent OnDataSent;
  TSendData OnSendData;
  TSessionClosed OnSessionClosed;
  TSessionAvailable OnSessionAvailable;
  TSessionConnected OnSessionConnected;
  TSessionConnected OnSocksConnected;
  TChangeState OnChangeState;
  TDnsLookupDone OnDnsLookupDone;
  TNotifyEvent OnError;
  TBgExceptionEvent OnBgException;

  // Operations ------------------------------------------------------------------------
  virtual void Connect();
  virtual void Close();
  virtual void PostClose();
  // The socket destroys itself from the message loop: it takes over its own ownership.
  static void Release(std::unique_ptr<TCustomWSocket> socket);
  virtual void Abort();
  virtual void Flush();
  virtual void WaitUntilClosed();
  virtual void Listen();
  virtual TSocket Accept();
  virtual int Receive(void* buffer, int size);
  virtual std::string ReceiveText();
  virtual int ReceiveFrom(void* buffer, int size, sockaddr_in& from);
  virtual int Send(const void* data, int length);
  virtual int SendTo(const sockaddr_in& to, const void* data, int length);
  virtual int SendText(const std::string& text);
  virtual void DnsLookup(const std::string& host_name);
  virtual void ReverseDnsLookup(const std::string& host_addr);
  virtual void CancelDnsLookup();
  virtual std::string GetPeerAddr();
  virtual std::string GetPeerPort();
  virtual std::string GetXPort();
  virtual std::string GetXAddr();
  virtual void Dup(TSocket new_handle);
  virtual void Shutdown(int how);
  virtual void Pause();
  virtual void Resume();
  virtual void PumpMessages();
  // Asks the window to raise "Test exception in WSocket" from the loop.
  void PostTestException();

 protected:
  class SocketWindow;

  virtual platform::LRESULT WndProc(platform::UINT message, platform::WPARAM wparam,
                                    platform::LPARAM lparam);
  virtual void AssignDefaultValue();
  virtual void InternalClose(bool shutdown_first, Word error);
  virtual void SetRemotePort(int port);
  virtual int GetRcvdCount();
  virtual int RealSend(const void* data, int length);
  // Builds "Error E in function N CRLF text", closes on 10054/10057, and raises.
  virtual void SocketError(const std::string& function_name);
  virtual void RaiseExceptionFmt(const std::string& message);
  virtual void RaiseException(const std::string& message);
  virtual void HandleBackGroundException(const std::exception& e);
  // Returns false when no handler took the data (the caller then discards it).
  virtual bool TriggerDataAvailable(Word error);
  virtual void TriggerSessionAvailable(Word error);
  virtual void TriggerSessionConnected(Word error);
  virtual void TriggerSessionClosed(Word error);
  virtual void TriggerDataSent(Word error);
  virtual void TriggerChangeState(TSocketState old_state, TSocketState new_state);
  virtual void TriggerDNSLookupDone(Word error);
  virtual void TriggerError();
  virtual int DoRecv(void* buffer, int size, int flags);
  virtual int DoRecvFrom(void* buffer, int size, int flags, sockaddr_in& from);
  // Waits for the next event and dispatches it, never spinning.
  virtual void WaitForNextEvent();
  virtual void HandleWindowMessage(platform::UINT message, platform::WPARAM wparam,
                                   platform::LPARAM lparam);

  void ChangeState(TSocketState new_state);
  void TryToSend();
  void ReceiveLoop(bool always);
  bool DispatchGuarded(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);
  void ApplyLinger();
  bool Terminated() const { return terminated_; }
  platform::MessageLoop& Loop() const;
  // The next Receive/ReceiveFrom of any layer counts as progress of the receive loop.
  void NoteReceived() { ++receive_progress_; }
  // The remote address and port in sin_ are set already (a layer connects elsewhere).
  void MarkRemoteResolved() { addr_.resolved = port_.resolved = true; }

  TSocket hsocket_ = platform::INVALID_SOCKET;
  TSocketState state_ = wsClosed;
  int last_error_ = 0;
  bool close_invoked_ = false;  // the session-closed event fired for this connection
  bool destroying_ = false;
  sockaddr_in sin_{};
  int proto_number_ = 6;
  int sock_type_ = 1;  // SOCK_STREAM

 private:
  void ResolveForConnect(const char* prefix);
  bool ResolveOrReport(const char* prefix);
  void HandleSelectMessage(platform::WPARAM wparam, platform::LPARAM lparam);
  void HandleLookupMessage(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);
  void SetOption(int level, int name, int value, const char* function_name);
  void SetupStreamSocket();
  void SetupDatagramSocket();
  void RegisterEvents(long events, const char* function_name);
  void AppendToBuffers(const std::byte* data, int length);
  void DeleteBufferedData();
  bool SendFromChain();
  void RemoveSent(int count);
  bool BeginLookup(bool name_valid, const char* invalid_message);
  void FailedLookup(Word error);

  std::unique_ptr<SocketWindow> window_;
  std::unique_ptr<TCustomWSocket> self_owner_;  // set by Release
  // A remote setting: its text, whether it was given, whether sin_ holds it resolved.
  struct RemoteText {
    std::string text;
    bool assigned = false;
    bool resolved = false;
  };
  void AssignRemoteText(RemoteText& item, const std::string& value, const char* name);

  RemoteText addr_;
  RemoteText port_;
  RemoteText proto_{"tcp", true, false};
  std::string local_addr_ = "0.0.0.0";
  std::string local_port_str_ = "0";
  bool local_port_resolved_ = false;
  int local_port_num_ = 0;
  std::string dns_result_;
  std::vector<std::string> dns_result_list_;
  std::int64_t read_count_ = 0;
  bool multi_threaded_ = false;
  bool multi_cast_ = false;
  std::string multi_cast_addr_str_;
  int multi_cast_ip_ttl_ = 1;
  bool reuse_addr_ = false;
  TWSocketOptions component_options_;
  int flush_timeout_ = 60;
  int send_flags_ = wsSendNormal;
  TSocketLingerOnOff linger_on_off_ = wsLingerOn;
  int linger_timeout_ = 0;
  long select_events_ = 0;
  platform::HANDLE dns_lookup_handle_ = 0;
  platform::HostEntry dns_lookup_buffer_;
  bool all_sent_ = true;
  bool paused_ = false;
  bool terminated_ = false;
  std::list<TBuffer> buffer_list_;
  int buf_size_ = 1460;
  std::uint64_t receive_progress_ = 0;
};

}  // namespace tessival::net
