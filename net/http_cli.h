#pragma once
// THttpCli: one HTTP/1.0 request at a time over an owned socket, event-driven on the
// message loop. It looks up the host, connects (directly, through an HTTP proxy or a SOCKS
// server), sends the request header (and a POST body), reads the answer's header line by
// line and hands every body chunk to the caller's stream; the document is complete when
// the server closes. Relocations are followed inside one request.
//
//   httpIdle -StartRequest-> httpStarting -> httpResolving -> httpResolved -> httpConnected
//     -> httpReadingHeader -(empty line)-> httpReadingBody -(server closes; ready)-> httpIdle
//   httpReadingHeader -(location seen, empty line)-> httpResolving   (no pass through idle)
//   lookup or connect failure, time-out -> httpIdle (through the session-closed handler)
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "net/http_answer_reader.h"
#include "net/http_date.h"
#include "net/http_request_header.h"
#include "net/http_target.h"
#include "net/socket_exception.h"
#include "net/wsocket.h"
#include "platform/message_window.h"
#include "platform/stream.h"

namespace tessival::platform {
class MessageLoop;
}

namespace tessival::net {

enum THttpState {
  httpIdle,
  httpStarting,
  httpConnected,
  httpResolving,
  httpResolved,
  httpReadingHeader,
  httpReadingBody,
  httpAborting
};
enum THttpRequest { httpNone = 0, httpGET = 1, httpPOST = 2, httpHEAD = 3 };

class EHttpException : public ENetException {
 public:
  EHttpException(const std::string& message, int error_code)
      : ENetException(message), ErrorCode(error_code) {}
  int ErrorCode;
};

class THttpCli;
using THttpNotify = std::function<void(THttpCli& sender)>;
using TOnCommand = std::function<void(THttpCli& sender, std::string& line)>;
using TDocDataEvent = std::function<void(THttpCli& sender, const void* buffer, int len)>;
using TCookieRcvdEvent = std::function<void(THttpCli& sender, const std::string& data, bool& accept)>;
using THttpRequestDone =
    std::function<void(THttpCli& sender, THttpRequest rq_type, std::uint16_t error)>;
using TBeforeHeaderSendEvent =
    std::function<void(THttpCli& sender, const std::string& method, std::vector<std::string>& headers)>;
using THttpSessionEvent = std::function<void(THttpCli& sender, std::uint16_t error)>;
using THttpSocksErrorEvent = std::function<void(THttpCli& sender, int error, const std::string& msg)>;

class THttpCli : private HttpAnswerReader::Sink {
 public:
  // The hidden window's messages.
  static constexpr platform::UINT kMsgRequestDone = platform::WM_USER + 1;  // 1025
  static constexpr platform::UINT kMsgSetReady = platform::WM_USER + 2;     // 1026
  static constexpr platform::UINT kMsgRelocation = platform::WM_USER + 3;   // 1027
  static constexpr int kMaxRelocations = 20;
  static constexpr std::size_t kReceiveBufferSize = HttpAnswerReader::kLineLimit;
  static constexpr std::size_t kBodyBlockSize = 65536;
  // EHttpException codes raised before a request starts.
  // The status a request gets when it fails on this side (no lookup, no connection, a
  // relocation loop, a time-out): there is no answer, so it reads as "not found".
  static constexpr int kLocalFailureStatus = 404;
  static constexpr int kBusyError = 1;
  static constexpr int kNothingToPostError = 2;
  static constexpr int kHeaderLineBreakError = 5;  // a header value holds CR or LF

  explicit THttpCli(platform::MessageLoop& loop);
  THttpCli();  // on this thread's loop
  ~THttpCli() override;
  THttpCli(const THttpCli&) = delete;
  THttpCli& operator=(const THttpCli&) = delete;

  // Published properties, with their defaults.
  std::string URL;
  std::string LocalAddr = "0.0.0.0";
  std::string Proxy;
  std::string ProxyPort = "80";
  std::string Sender;
  std::string Agent = "Mozilla/3.0 (compatible)";
  std::string Accept = "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*";
  std::string AcceptLanguage;
  std::string Reference;
  std::string Username;
  std::string Password;
  std::string ProxyUsername;
  std::string ProxyPassword;
  bool NoCache = false;
  TDateTime ModifiedSince = 0;
  std::string Cookie;
  std::string ContentTypePost = "application/x-www-form-urlencoded";
  std::string ContentRangeBegin;
  std::string ContentRangeEnd;
  // A request that receives nothing for this long ends like a failed connection (10060).
  std::chrono::milliseconds Timeout = std::chrono::seconds(60);

  // Only chooses the socket's message pump: it lives on the socket.
  bool MultiThreaded() const { return socket_->MultiThreaded(); }
  void SetMultiThreaded(bool value) { socket_->SetMultiThreaded(value); }
  // The socket forgets its SOCKS server, port and level whenever a connection closes, so
  // the client keeps the caller's and hands them back before every connection it opens: a
  // relocation or a later request must never go out past the proxy. The socket still
  // checks each new value (and refuses it while connected).
  std::string SocksServer() const { return socks_route_.server; }
  void SetSocksServer(const std::string& value);
  std::string SocksLevel() const { return socks_route_.level; }
  void SetSocksLevel(const std::string& value);
  std::string SocksPort() const { return socks_route_.port; }
  void SetSocksPort(const std::string& value);
  // These survive a close on the socket itself.
  std::string SocksUsercode() const { return socket_->SocksUsercode(); }
  void SetSocksUsercode(const std::string& value) { socket_->SetSocksUsercode(value); }
  std::string SocksPassword() const { return socket_->SocksPassword(); }
  void SetSocksPassword(const std::string& value) { socket_->SetSocksPassword(value); }
  TSocksAuthentication SocksAuthentication() const { return socket_->SocksAuthentication(); }
  void SetSocksAuthentication(TSocksAuthentication value) { socket_->SetSocksAuthentication(value); }
  // The TLS trust settings of https addresses live on the owned socket too.
  std::string TlsCaFile() const { return socket_->TlsCaFile(); }
  void SetTlsCaFile(const std::string& value) { socket_->SetTlsCaFile(value); }
  TTlsVerification TlsVerification() const { return socket_->TlsVerification(); }
  void SetTlsVerification(TTlsVerification value) { socket_->SetTlsVerification(value); }

  // Events.
  THttpNotify OnTrace, OnHeaderData, OnHeaderBegin, OnHeaderEnd, OnRequestHeaderBegin,
      OnRequestHeaderEnd, OnDocBegin, OnDocEnd, OnSendBegin, OnSendEnd, OnStateChange, OnLocationChange,
      OnSocketError;
  THttpSessionEvent OnSessionConnected, OnSocksConnected;
  TOnCommand OnCommand;
  TDocDataEvent OnDocData, OnSendData;
  THttpRequestDone OnRequestDone;
  TCookieRcvdEvent OnCookie;
  THttpSocksErrorEvent OnSocksError;
  std::function<void(THttpCli& sender, TSocksAuthState state)> OnSocksAuthState;
  TBeforeHeaderSendEvent OnBeforeHeaderSend;

  // Run-time data.
  platform::TStream* ReceiveStream = nullptr;  // owned by the caller; unset discards
  platform::TStream* PostStream = nullptr;     // owned by the caller
  int StatusCode() const { return status_code_; }
  const std::string& ReasonPhrase() const { return reason_phrase_; }
  std::int64_t ContentLength() const { return content_length_; }
  const std::string& ContentType() const { return content_type_; }
  std::int64_t RcvdCount() const { return rcvd_count_; }
  std::int64_t PostedCount() const { return posted_count_; }
  const std::string& DocFileName() const { return target_.DocFileName; }
  const std::string& Location() const { return target_.Location; }
  const std::vector<std::string>& RcvdHeaderLines() const { return rcvd_header_lines_; }
  const std::vector<std::string>& AuthChallenges() const { return challenges_; }
  const std::string& DnsResult() const { return dns_result_; }
  const std::string& Hostname() const { return target_.Hostname; }
  const std::string& Port() const { return target_.Port; }
  const std::string& ServerHost() const { return target_.ServerHost; }
  const std::string& Path() const { return target_.Path; }
  const std::string& AcceptRanges() const { return accept_ranges_; }
  THttpState State() const { return state_; }
  THttpRequest RequestType() const { return request_type_; }
  TWSocket& Socket() { return *socket_; }

  // Requests.
  void Get() { RunRequest(httpGET); }
  void Post() { RunRequest(httpPOST); }
  void Head() { RunRequest(httpHEAD); }
  void StartRequest(THttpRequest kind);
  // Starts and waits for the end, sleeping between events; raises EHttpException when the
  // final status is above 399.
  void RunRequest(THttpRequest kind);
  // Ends a running request at once, as a failed connection (the program is closing).
  void Abort();

  // For the tests and the fuzzer: bytes taken as if they had arrived on the connection of
  // a request just sent (through the same reading path as the socket's), and then the
  // server's close.
  void FeedAnswerForTesting(std::string_view piece);
  void EndAnswerForTesting();

 private:
  enum class ClosedRoute { kNormal, kRelocation, kIgnore };
  // The caller's way through a SOCKS server; no server means direct connections.
  struct SocksRoute {
    std::string server;
    std::string port;
    std::string level = "5";
  };
  // An https address through an HTTP proxy: the proxy is asked to open a tunnel first.
  //   kNone (no tunnel) | kNeeded -connected-> kAwaitingReply -200-> kOpen (TLS inside)
  enum class TunnelPhase { kNone, kNeeded, kAwaitingReply, kOpen };

  void WireSocket();
  template <class Change>
  void ChangeSocksRoute(const Change& change);
  void LendSocksRoute();
  void ResetRequestData();
  void DoStart();
  bool ProxyResolvesNames() const;
  void FailToStart(const std::string& reason);
  void SetLocalFailure(const std::string& reason);
  void DnsLookupDone(std::uint16_t error);
  void ConnectTo(const std::string& address);
  void SessionConnected(std::uint16_t error);
  void SessionClosed(std::uint16_t error);
  void DataAvailable();
  template <class Source>
  bool ReadAnswer(const Source& source);
  void StopReadingAnswer();
  void DataSent();
  void RelocationHandler();
  void OpenTunnel();
  void ReadTunnelReply();
  void TunnelRefused(const std::string& header);
  // A TLS failure of the socket as the request's outcome; false when nothing was lost.
  bool TlsFailure(std::uint16_t error, bool cut_in_header);
  // Always HTTP/1.0; false when the request was refused and ended instead.
  bool SendRequest(const std::string& method);
  void SendCommand(std::string line);
  RequestHeaderFields HeaderFields(const std::string& method) const;
  void ForgetSingleRequestValues();
  // HttpAnswerReader::Sink
  void HeaderBegin() override;
  void HeaderField(const std::string& line) override;
  HttpAnswerReader::HeaderOutcome HeaderEnd() override;
  void NoHeader() override;
  void BodyChunk(const char* data, std::size_t length) override;

  void SetReady();
  void StateChange(THttpState new_state);
  void FailRequest(std::uint16_t error, const std::string& reason);
  void ArmTimeout();
  void CheckTimeout();
  platform::LRESULT WndProc(platform::UINT message, platform::WPARAM wparam, platform::LPARAM lparam);
  void Trigger(const THttpNotify& event) {
    if (event) event(*this);
  }

  platform::MessageLoop& loop_;
  std::unique_ptr<TWSocket> socket_;
  std::unique_ptr<platform::MessageWindow> window_;

  HttpTarget target_;
  int status_code_ = 0;
  std::string reason_phrase_;
  std::int64_t content_length_ = -1;
  std::string content_type_;
  std::int64_t rcvd_count_ = 0;
  std::int64_t posted_count_ = 0;
  std::vector<std::string> rcvd_header_lines_;
  std::vector<std::string> challenges_;
  std::string dns_result_;
  std::string accept_ranges_;
  THttpState state_ = httpIdle;
  THttpRequest request_type_ = httpNone;

  bool location_seen_ = false;
  bool allowed_to_send_ = false;
  int body_count_ = 0;
  int relocations_ = 0;
  std::uint16_t request_done_error_ = 0;
  ClosedRoute closed_route_ = ClosedRoute::kNormal;
  HttpAnswerReader reader_;
  std::vector<char> body_buffer_;
  using Clock = std::chrono::steady_clock;
  Clock::time_point last_activity_;
  std::string request_stream_;
  std::string last_socks_error_;
  SocksRoute socks_route_;
  TunnelPhase tunnel_ = TunnelPhase::kNone;
  std::string tunnel_reply_;
  bool secure_relocation_ = false;
};

}  // namespace tessival::net
