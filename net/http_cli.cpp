#include "net/http_cli.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <optional>

#include "net/base64.h"
#include "net/custom_wsocket.h"
#include "net/http_request_header.h"
#include "net/url_splitter.h"
#include "net/wsocket_resolve.h"
#include "platform/message_loop.h"
#include "platform/wsock_errors.h"

namespace tessival::net {
namespace {

constexpr std::uintptr_t kTimeoutTimer = 1;
constexpr std::size_t kSendBlockSize = 8193;
constexpr int kFirstSocksError = 20001;
constexpr int kLastSocksError = 20017;
// A proxy's answer to CONNECT is a header only; anything longer is no such answer.
constexpr std::size_t kTunnelReplyLimit = 8192;

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A decimal number, or nothing: a header value that is no number is dropped with its line.
std::optional<std::int64_t> ParseInteger(const std::string& text) {
  const std::string trimmed = Trim(text);
  std::int64_t value = 0;
  const char* begin = trimmed.data();
  const char* end = begin + trimmed.size();
  if (begin != end && *begin == '+') ++begin;
  const auto [ptr, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || ptr != end || begin == end) return std::nullopt;
  return value;
}

std::string LineBreakRefusal(const std::string& header) {
  return "HTTP header value holds a line break (" + header + ")";
}

std::string ErrorText(int error) {
  return platform::WinSockErrorDesc(error) + " (Error #" + std::to_string(error) + ")";
}

const char* MethodName(THttpRequest kind) {
  switch (kind) {
    case httpPOST: return "POST";
    case httpHEAD: return "HEAD";
    default: return "GET";
  }
}

}  // namespace

THttpCli::THttpCli(platform::MessageLoop& loop)
    : loop_(loop),
      socket_(std::make_unique<TWSocket>(loop)),
      window_(std::make_unique<platform::MessageWindow>(loop,
                                                        [this](platform::UINT m, platform::WPARAM w,
                                                               platform::LPARAM l) {
                                                          return WndProc(m, w, l);
                                                        })),
      body_buffer_(kBodyBlockSize) {
  WireSocket();
}

THttpCli::THttpCli() : THttpCli(platform::MessageLoop::ForThisThread()) {}

THttpCli::~THttpCli() {
  // The socket may still report a close while it goes; nothing of ours must run then.
  closed_route_ = ClosedRoute::kIgnore;
  socket_.reset();
}

void THttpCli::WireSocket() {
  socket_->OnSessionClosed = [this](TCustomWSocket&, Word error) {
    switch (closed_route_) {
      case ClosedRoute::kNormal: SessionClosed(error); break;
      case ClosedRoute::kRelocation: RelocationHandler(); break;
      case ClosedRoute::kIgnore: break;
    }
  };
  socket_->OnDataAvailable = [this](TCustomWSocket&, Word) { DataAvailable(); };
  socket_->OnSessionConnected = [this](TCustomWSocket&, Word error) { SessionConnected(error); };
  socket_->OnDataSent = [this](TCustomWSocket&, Word) { DataSent(); };
  socket_->OnDnsLookupDone = [this](TCustomWSocket&, Word error) { DnsLookupDone(error); };
  socket_->OnError = [this](TCustomWSocket&) { Trigger(OnSocketError); };
  socket_->OnSocksConnected = [this](TCustomWSocket&, Word error) {
    if (OnSocksConnected) OnSocksConnected(*this, error);
  };
  socket_->OnSocksError = [this](TCustomWSocket&, int error, const std::string& message) {
    last_socks_error_ = message;
    if (OnSocksError) OnSocksError(*this, error, message);
  };
  socket_->OnSocksAuthState = [this](TCustomWSocket&, TSocksAuthState state) {
    if (OnSocksAuthState) OnSocksAuthState(*this, state);
  };
}

// ---- SOCKS route -------------------------------------------------------------------

void THttpCli::SetSocksServer(const std::string& value) {
  ChangeSocksRoute([&] { socket_->SetSocksServer(value); });
}

void THttpCli::SetSocksPort(const std::string& value) {
  ChangeSocksRoute([&] { socket_->SetSocksPort(value); });
}

void THttpCli::SetSocksLevel(const std::string& value) {
  ChangeSocksRoute([&] { socket_->SetSocksLevel(value); });
}

// The socket judges the value and stores it in its own form (trimmed, "4a" as "4A"); it
// holds our route before the change, so a refused value leaves the route as it was.
template <class Change>
void THttpCli::ChangeSocksRoute(const Change& change) {
  LendSocksRoute();
  change();
  socks_route_ = {socket_->SocksServer(), socket_->SocksPort(), socket_->SocksLevel()};
}

// An open socket got the route when it connected and keeps it until it closes; only a
// closed one may have forgotten it, and only a closed one accepts it.
void THttpCli::LendSocksRoute() {
  if (socket_->State() != wsClosed) return;
  socket_->SetSocksServer(socks_route_.server);
  socket_->SetSocksPort(socks_route_.port);
  socket_->SetSocksLevel(socks_route_.level);
}

// ---- Requests ----------------------------------------------------------------------

void THttpCli::StartRequest(THttpRequest kind) {
  if (state_ != httpIdle) throw EHttpException("HTTP component is busy", kBusyError);
  if (kind == httpPOST && PostStream == nullptr) {
    throw EHttpException("HTTP component has nothing to post", kNothingToPostError);
  }
  // Refused before anything happens: nothing of such a request may reach the wire.
  if (const std::string name = FirstValueWithLineBreak(HeaderFields(MethodName(kind))); !name.empty()) {
    throw EHttpException(LineBreakRefusal(name), kHeaderLineBreakError);
  }
  closed_route_ = ClosedRoute::kNormal;
  last_socks_error_.clear();
  StateChange(httpStarting);
  request_type_ = kind;
  ResetRequestData();
  target_.Username = Username;
  target_.Password = Password;
  ComputeRequestTarget(URL, Proxy, ProxyPort, target_);
  Username = target_.Username;
  Password = target_.Password;
  ArmTimeout();
  DoStart();
}

void THttpCli::RunRequest(THttpRequest kind) {
  StartRequest(kind);
  // Each round sleeps until the next event of the loop: no processor time while waiting.
  while (state_ != httpIdle) loop_.RunOnce();
  if (status_code_ > 399) throw EHttpException(reason_phrase_, status_code_);
}

void THttpCli::Abort() {
  if (state_ == httpIdle) return;
  FailRequest(platform::WSAECONNABORTED, "Request aborted");
}

void THttpCli::ResetRequestData() {
  rcvd_header_lines_.clear();
  request_done_error_ = 0;
  target_.DocFileName.clear();
  status_code_ = 0;
  rcvd_count_ = 0;
  posted_count_ = 0;
  body_count_ = 0;
  relocations_ = 0;
  content_length_ = -1;
  content_type_.clear();
  allowed_to_send_ = false;
  reader_.Reset();
  location_seen_ = false;
  secure_relocation_ = false;
  tunnel_ = TunnelPhase::kNone;
  target_.Location = URL;
}

void THttpCli::DoStart() {
  dns_result_.clear();
  if (ProxyResolvesNames()) {
    // The name goes to the SOCKS server as it is: looking it up here would fail where
    // only the proxy has name service, and tell the local name service where we go.
    try {
      socket_->SetLocalAddr(LocalAddr);
    } catch (const ESocketException& error) {
      FailToStart(error.what());
      return;
    }
    StateChange(httpResolved);
    ConnectTo(target_.Hostname);
    return;
  }
  StateChange(httpResolving);
  try {
    socket_->SetLocalAddr(LocalAddr);
    socket_->DnsLookup(target_.Hostname);
  } catch (const ESocketException& error) {
    FailToStart(error.what());
  }
}

// SOCKS 4A and 5 carry the destination as a name; SOCKS 4 only as an address.
bool THttpCli::ProxyResolvesNames() const {
  return !socks_route_.server.empty() && socks_route_.level != "4";
}

void THttpCli::FailToStart(const std::string& reason) {
  SetLocalFailure(reason);
  StateChange(httpIdle);
}

// The request failed on this side: there is no answer whose status could be reported.
void THttpCli::SetLocalFailure(const std::string& reason) {
  status_code_ = kLocalFailureStatus;
  reason_phrase_ = reason;
}

void THttpCli::DnsLookupDone(std::uint16_t error) {
  if (error != 0) {
    if (state_ == httpAborting) return;
    request_done_error_ = error;
    SetLocalFailure("can't resolve hostname to IP address");
    SessionClosed(error);
    return;
  }
  dns_result_ = socket_->DnsResult();
  StateChange(httpResolved);
  ConnectTo(dns_result_);
}

void THttpCli::ConnectTo(const std::string& address) {
  tunnel_ = target_.Tunnel.empty() ? TunnelPhase::kNone : TunnelPhase::kNeeded;
  try {
    // Through a tunnel TLS starts once the proxy opened it; the certificate is always
    // checked against the host of the address, never the proxy's.
    socket_->SetTlsEnabled(target_.Secure && target_.Tunnel.empty());
    socket_->SetTlsServerName(target_.Secure ? target_.ServerHost : std::string());
    socket_->SetAddr(address);
    socket_->SetLocalAddr(LocalAddr);
    socket_->SetPort(target_.Port);
    socket_->SetProto("tcp");
    LendSocksRoute();
    socket_->Connect();
  } catch (const ESocketException&) {
    const int last_error = socket_->LastError();
    request_done_error_ = static_cast<std::uint16_t>(last_error);
    SetLocalFailure("can't connect: " + ErrorText(last_error));
    closed_route_ = ClosedRoute::kIgnore;
    socket_->Close();
    closed_route_ = ClosedRoute::kNormal;
    SessionClosed(static_cast<std::uint16_t>(last_error));
  }
}

void THttpCli::SessionConnected(std::uint16_t error) {
  if (error != 0) {
    request_done_error_ = error;
    // A SOCKS failure is told in the SOCKS server's terms; the socket texts have none.
    const bool socks_error = error >= kFirstSocksError && error <= kLastSocksError;
    if (error == kTlsHandshakeError) {
      // The TLS library's reason is the whole message ("certificate verify failed: ...").
      SetLocalFailure(socket_->TlsErrorText());
    } else {
      SetLocalFailure(socks_error && !last_socks_error_.empty()
                          ? last_socks_error_ + " (Error #" + std::to_string(error) + ")"
                          : ErrorText(error));
    }
    tunnel_ = TunnelPhase::kNone;
    SessionClosed(error);
    return;
  }
  last_activity_ = Clock::now();
  if (tunnel_ == TunnelPhase::kNeeded) return OpenTunnel();
  StateChange(httpConnected);
  if (OnSessionConnected) OnSessionConnected(*this, 0);
  reader_.Reset();  // a new answer, also after a relocation
  StateChange(httpReadingHeader);
  try {
    if (!SendRequest(MethodName(request_type_))) return;
    if (request_type_ == httpPOST) {
      Trigger(OnSendBegin);
      allowed_to_send_ = true;
      DataSent();
    }
  } catch (const ENetException&) {
    socket_->Close();  // the request ends with what arrived, as any closed connection
  }
}

// ---- The request header ------------------------------------------------------------

RequestHeaderFields THttpCli::HeaderFields(const std::string& method) const {
  RequestHeaderFields fields;
  fields.method = method;
  fields.path = target_.Path;
  fields.server_host = target_.ServerHost;
  fields.sender = Sender;
  fields.accept = Accept;
  fields.reference = Reference;
  fields.accept_language = AcceptLanguage;
  fields.content_type_post = ContentTypePost;
  fields.agent = Agent;
  fields.no_cache = NoCache;
  if (method == "POST" && PostStream != nullptr) fields.post_size = PostStream->Size();
  fields.modified_since = ModifiedSince;
  fields.username = Username;
  fields.password = Password;
  // Proxy credentials go only to a proxy that reads the request, never into a tunnel.
  fields.through_proxy = !Proxy.empty() && target_.Tunnel.empty();
  fields.proxy_username = ProxyUsername;
  fields.proxy_password = ProxyPassword;
  fields.cookie = Cookie;
  fields.range_begin = ContentRangeBegin;
  fields.range_end = ContentRangeEnd;
  return fields;
}

// A range asks for part of one document: it is sent with one request only. What the
// server said about ranges belongs to its previous answer.
void THttpCli::ForgetSingleRequestValues() {
  ContentRangeBegin.clear();
  ContentRangeEnd.clear();
  accept_ranges_.clear();
}

bool THttpCli::SendRequest(const std::string& method) {
  request_stream_.clear();
  Trigger(OnRequestHeaderBegin);
  const RequestHeaderFields fields = HeaderFields(method);
  // Checked again here: an event handler may have changed a value since the start.
  if (const std::string name = FirstValueWithLineBreak(fields); !name.empty()) {
    FailRequest(0, LineBreakRefusal(name));
    return false;
  }
  std::vector<std::string> headers = BuildRequestHeader(fields);
  ForgetSingleRequestValues();
  if (OnBeforeHeaderSend) OnBeforeHeaderSend(*this, method, headers);
  for (const std::string& line : headers) SendCommand(line);
  Trigger(OnRequestHeaderEnd);
  SendCommand(std::string());
  socket_->Send(request_stream_.data(), static_cast<int>(request_stream_.size()));
  request_stream_.clear();
  return true;
}

void THttpCli::SendCommand(std::string line) {
  if (OnCommand) OnCommand(*this, line);
  request_stream_ += line;
  request_stream_ += "\r\n";
}

void THttpCli::DataSent() {
  if (!allowed_to_send_) return;
  char block[kSendBlockSize];
  const std::size_t count = PostStream->Read(block, sizeof block);
  if (count > 0) {
    posted_count_ += static_cast<std::int64_t>(count);
    if (OnSendData) OnSendData(*this, block, static_cast<int>(count));
    socket_->Send(block, static_cast<int>(count));
    return;
  }
  allowed_to_send_ = false;
  Trigger(OnSendEnd);
}

// ---- Receiving ---------------------------------------------------------------------

// One arrival of answer bytes. source(into, room) writes at most room bytes and tells how
// many (0 or less: none). The header goes through the answer reader's line buffer; the
// body needs no line splitting and is read in blocks larger than a header line may be:
// fewer system calls for the same bytes. False when nothing was read.
template <class Source>
bool THttpCli::ReadAnswer(const Source& source) {
  if (reader_.phase() != HttpAnswerReader::Phase::kHeader) {
    const int received = source(body_buffer_.data(), body_buffer_.size());
    if (received <= 0) return false;
    last_activity_ = Clock::now();
    reader_.BodyReceived(body_buffer_.data(), static_cast<std::size_t>(received), *this);
    return true;
  }
  const std::span<char> space = reader_.HeaderSpace();
  if (space.empty()) {
    // A header line that fills the whole buffer can never end: give up on the request
    // instead of waiting for ever.
    FailRequest(0, "HTTP line too long");
    return false;
  }
  const int received = source(space.data(), space.size());
  if (received <= 0) return false;
  last_activity_ = Clock::now();
  reader_.HeaderReceived(static_cast<std::size_t>(received), *this);
  if (reader_.phase() == HttpAnswerReader::Phase::kDone) StopReadingAnswer();
  return true;
}

void THttpCli::DataAvailable() {
  if (tunnel_ == TunnelPhase::kAwaitingReply) return ReadTunnelReply();
  ReadAnswer(
      [this](char* into, std::size_t room) { return socket_->Receive(into, static_cast<int>(room)); });
}

void THttpCli::FeedAnswerForTesting(std::string_view piece) {
  if (state_ == httpIdle || state_ == httpStarting || state_ == httpResolving) {
    reader_.Reset();
    StateChange(httpReadingHeader);
  }
  const auto from_piece = [&piece](char* into, std::size_t room) {
    const std::size_t count = std::min(piece.size(), room);
    std::memcpy(into, piece.data(), count);
    piece.remove_prefix(count);
    return static_cast<int>(count);
  };
  // Once the answer is over, the connection would be closed: nothing more arrives.
  while (!piece.empty() && closed_route_ == ClosedRoute::kNormal &&
         reader_.phase() != HttpAnswerReader::Phase::kDone) {
    if (!ReadAnswer(from_piece)) return;
  }
}

void THttpCli::EndAnswerForTesting() {
  if (closed_route_ == ClosedRoute::kNormal) SessionClosed(0);
}

void THttpCli::HeaderBegin() { Trigger(OnHeaderBegin); }

void THttpCli::NoHeader() {
  if (content_type_.empty()) content_type_ = "text/html";
  StateChange(httpReadingBody);
  Trigger(OnHeaderEnd);
}

void THttpCli::HeaderField(const std::string& line) {
  rcvd_header_lines_.push_back(line);
  if (line.rfind("HTTP/1.0", 0) == 0 || line.rfind("HTTP/1.1", 0) == 0) {
    const auto code = ParseInteger(line.size() > 9 ? line.substr(9, 3) : std::string());
    if (!code) return;  // a status that is no number loses its line
    status_code_ = static_cast<int>(*code);
    reason_phrase_ = line.size() > 13 ? line.substr(13) : std::string();
  } else if (const std::size_t colon = line.find(':'); colon != std::string::npos) {
    const std::string field = LowerCase(line.substr(0, colon));
    std::size_t start = colon + 1;
    while (start + 1 < line.size() && line[start] == ' ') ++start;
    const std::string value = start < line.size() ? line.substr(start) : std::string();
    if (field == "location") {
      location_seen_ = true;
      secure_relocation_ = IsSecureRelocation(value, target_);
      if (secure_relocation_) {
        target_.Location = SecureLocation(value, target_);
        return Trigger(OnHeaderData);
      }
      ApplyLocationHeader(value, !Proxy.empty(), target_);
      Username = target_.Username;
      Password = target_.Password;
    } else if (field == "content-length") {
      const auto length = ParseInteger(value);
      if (!length) return;
      content_length_ = *length;
    } else if (field == "content-range") {
      const std::size_t dash = value.find('-');
      const std::size_t slash = value.find('/');
      if (dash != std::string::npos && dash >= 6) ContentRangeBegin = value.substr(6, dash - 6);
      if (dash != std::string::npos && slash != std::string::npos && slash > dash) {
        ContentRangeEnd = value.substr(dash + 1, slash - dash - 1);
      }
    } else if (field == "accept-ranges") {
      accept_ranges_ = value;
    } else if (field == "content-type") {
      content_type_ = LowerCase(value);
    } else if (field == "www-authenticate") {
      challenges_.push_back(value);
    } else if (field == "set-cookie") {
      bool accept = true;
      if (OnCookie) OnCookie(*this, value, accept);
    }
  }
  Trigger(OnHeaderData);
}

HttpAnswerReader::HeaderOutcome THttpCli::HeaderEnd() {
  using Outcome = HttpAnswerReader::HeaderOutcome;
  if (location_seen_ || content_length_ == 0) {
    Trigger(OnHeaderEnd);
    return Outcome::kStop;
  }
  target_.DocFileName = AdjustDocFileName(target_.DocFileName, content_type_);
  StateChange(httpReadingBody);
  Trigger(OnHeaderEnd);
  // A failed request ends without waiting for the rest of its body.
  return status_code_ >= 400 ? Outcome::kReadThisBlockOnly : Outcome::kReadBody;
}

// The answer's header decided that nothing more of it is read.
void THttpCli::StopReadingAnswer() {
  if (location_seen_) {
    // The relocation starts over once this connection has closed.
    closed_route_ = ClosedRoute::kRelocation;
    socket_->Close();
    return;
  }
  if (content_length_ == 0) {
    // Nothing follows an empty body: the connection is of no more use, and must not
    // report its close into the next request.
    closed_route_ = ClosedRoute::kIgnore;
    socket_->Close();
    SetReady();
    return;
  }
  socket_->Close();
}

void THttpCli::BodyChunk(const char* data, std::size_t length) {
  if (body_count_ == 0) Trigger(OnDocBegin);
  ++body_count_;
  rcvd_count_ += static_cast<std::int64_t>(length);
  if (ReceiveStream != nullptr) ReceiveStream->WriteBuffer(data, length);
  if (OnDocData) OnDocData(*this, data, static_cast<int>(length));
}

// ---- The end of a request ----------------------------------------------------------

void THttpCli::SessionClosed(std::uint16_t error) {
  if (tunnel_ == TunnelPhase::kNeeded || tunnel_ == TunnelPhase::kAwaitingReply) {
    tunnel_ = TunnelPhase::kNone;
    SetLocalFailure("the proxy closed the connection before the tunnel was open");
  }
  const bool cut_in_header = reader_.InHeader();
  reader_.Closed(*this);
  if (error == kTlsTruncatedError || error == kTlsProtocolError) {
    // Decided after the last header line was read, which could still set the status.
    if (!TlsFailure(error, cut_in_header)) error = 0;  // nothing was missing
  }
  if (error != 0) request_done_error_ = error;
  if (reader_.InHeader()) {
    Trigger(OnHeaderEnd);
    if (location_seen_) {
      RelocationHandler();
      return;
    }
    SetReady();  // closed inside the header: the request ends with what arrived
    return;
  }
  if (body_count_ > 0) Trigger(OnDocEnd);
  SetReady();
}

// A session cut short keeps what arrived in the caller's stream but does not pass for a
// complete document, unless its announced length shows nothing is missing.
bool THttpCli::TlsFailure(std::uint16_t error, bool cut_in_header) {
  const bool whole = error == kTlsTruncatedError && !cut_in_header && content_length_ >= 0 &&
                     rcvd_count_ >= content_length_;
  if (whole) return false;
  SetLocalFailure(socket_->TlsErrorText());
  return true;
}

// ---- Tunnels through an HTTP proxy -------------------------------------------------

void THttpCli::OpenTunnel() {
  tunnel_ = TunnelPhase::kAwaitingReply;
  tunnel_reply_.clear();
  const std::string authority = EscapeRequestTarget(target_.Tunnel);
  std::string request = "CONNECT " + authority + " HTTP/1.0\r\nHost: " + authority + "\r\n";
  if (!Agent.empty()) request += "User-Agent: " + Agent + "\r\n";
  if (!ProxyUsername.empty()) {
    request += "Proxy-Authorization: Basic " + Base64Encode(ProxyUsername + ":" + ProxyPassword) +
               "\r\n";
  }
  request += "\r\n";
  try {
    socket_->Send(request.data(), static_cast<int>(request.size()));
  } catch (const ENetException&) {
    socket_->Close();
  }
}

// The proxy's header is read a byte at a time up to its empty line, so nothing of what
// follows it (the server's TLS bytes) is taken from the socket.
void THttpCli::ReadTunnelReply() {
  char byte = 0;
  while (tunnel_ == TunnelPhase::kAwaitingReply && socket_->Receive(&byte, 1) == 1) {
    last_activity_ = Clock::now();
    tunnel_reply_ += byte;
    if (!tunnel_reply_.ends_with("\n\n") && !tunnel_reply_.ends_with("\n\r\n")) {
      if (tunnel_reply_.size() < kTunnelReplyLimit) continue;
      tunnel_ = TunnelPhase::kNone;
      return FailRequest(0, "HTTP line too long");
    }
    const auto code = ParseInteger(tunnel_reply_.size() > 12 ? tunnel_reply_.substr(9, 3) : "");
    if (tunnel_reply_.rfind("HTTP/1.", 0) != 0 || !code || *code / 100 != 2) {
      return TunnelRefused(tunnel_reply_);
    }
    tunnel_ = TunnelPhase::kOpen;
    socket_->StartTls();  // the end of the handshake reports the session connected again
    return;
  }
}

// The proxy's refusal is the request's answer (407 with a wrong password, 403, 502 ...).
void THttpCli::TunnelRefused(const std::string& header) {
  tunnel_ = TunnelPhase::kNone;
  std::size_t start = 0;
  while (start < header.size()) {
    std::size_t end = header.find('\n', start);
    if (end == std::string::npos) end = header.size();
    std::string line = header.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) HeaderField(line);
    start = end + 1;
  }
  if (status_code_ < 400) SetLocalFailure("the proxy did not open the tunnel: " + reason_phrase_);
  closed_route_ = ClosedRoute::kIgnore;
  socket_->Close();
  SetReady();
}

void THttpCli::RelocationHandler() {
  if (++relocations_ > kMaxRelocations) {
    location_seen_ = false;
    closed_route_ = ClosedRoute::kNormal;
    SetLocalFailure("Too many relocations (more than " + std::to_string(kMaxRelocations) + ")");
    SetReady();
    return;
  }
  const std::string location = target_.Location.substr(0, target_.Location.find('#'));
  if (secure_relocation_) {
    // To, from or within https: the scheme decides the port, the TLS and the tunnel.
    secure_relocation_ = false;
    ComputeRequestTarget(location, Proxy, ProxyPort, target_);
    target_.Location = location;
    Username = target_.Username;
    Password = target_.Password;
  }
  target_.DocFileName = DocFileNameFromPath(ParseURL(location).path);
  location_seen_ = false;
  if (request_type_ == httpPOST) request_type_ = httpGET;  // the body is not sent again
  closed_route_ = ClosedRoute::kNormal;
  Trigger(OnLocationChange);
  rcvd_header_lines_.clear();
  body_count_ = 0;
  content_type_.clear();
  status_code_ = 0;
  content_length_ = -1;
  if (!Proxy.empty() && target_.Tunnel.empty()) target_.Port = ProxyPort;
  window_->PostMessage(kMsgRelocation);
}

void THttpCli::FailRequest(std::uint16_t error, const std::string& reason) {
  if (error != 0) request_done_error_ = error;
  SetLocalFailure(reason);
  closed_route_ = ClosedRoute::kIgnore;
  socket_->CancelDnsLookup();
  socket_->Abort();
  reader_.Reset();
  location_seen_ = false;
  SetReady();
}

void THttpCli::ArmTimeout() {
  last_activity_ = Clock::now();
  window_->SetTimer(kTimeoutTimer, Timeout);
}

// The timer is not re-armed for every block that arrives (that would cost a system call
// each); when it fires early it waits for the rest of the quiet time.
void THttpCli::CheckTimeout() {
  if (state_ == httpIdle) return;
  const auto quiet = Clock::now() - last_activity_;
  if (quiet < Timeout) {
    const auto rest = std::chrono::ceil<std::chrono::milliseconds>(Timeout - quiet);
    window_->SetTimer(kTimeoutTimer, rest);
    return;
  }
  FailRequest(platform::WSAETIMEDOUT, ErrorText(platform::WSAETIMEDOUT));
}

void THttpCli::SetReady() { window_->PostMessage(kMsgSetReady); }

void THttpCli::StateChange(THttpState new_state) {
  if (new_state == state_) return;
  state_ = new_state;
  Trigger(OnStateChange);
  if (new_state == httpIdle) {
    window_->KillTimer(kTimeoutTimer);
    window_->PostMessage(kMsgRequestDone);
  }
}

platform::LRESULT THttpCli::WndProc(platform::UINT message, platform::WPARAM, platform::LPARAM) {
  switch (message) {
    case kMsgSetReady: StateChange(httpIdle); break;
    case kMsgRequestDone:
      if (OnRequestDone) OnRequestDone(*this, request_type_, request_done_error_);
      break;
    case kMsgRelocation: DoStart(); break;
    case platform::WM_TIMER:
      // Nothing arrived for Timeout: a silent server must not keep the client busy.
      CheckTimeout();
      break;
  }
  return 0;
}

}  // namespace tessival::net
