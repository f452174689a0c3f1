#pragma once
// TCustomSocksWSocket: with a SOCKS server set, Connect goes to that server, runs the
// SOCKS 4, 4A or 5 negotiation on the socket's own events, and only then reports the
// session as connected. Bytes the server sent behind its final reply are received first.
#include <functional>
#include <string>

#include "net/custom_wsocket.h"
#include "net/socks_negotiation.h"

namespace tessival::net {

class TCustomSocksWSocket;
using TSocksErrorEvent = std::function<void(TCustomWSocket& sender, int error, const std::string& msg)>;
using TSocksAuthStateEvent = std::function<void(TCustomWSocket& sender, TSocksAuthState state)>;

class TCustomSocksWSocket : public TCustomWSocket, private SocksNegotiation::Sink {
 public:
  TCustomSocksWSocket();
  explicit TCustomSocksWSocket(platform::MessageLoop& loop);

  const std::string& SocksLevel() const { return socks_level_; }
  void SetSocksLevel(const std::string& value);
  const std::string& SocksServer() const { return socks_server_; }
  void SetSocksServer(const std::string& value);
  const std::string& SocksPort() const { return socks_port_; }
  void SetSocksPort(const std::string& value);
  const std::string& SocksUsercode() const { return socks_usercode_; }
  void SetSocksUsercode(const std::string& value) { socks_usercode_ = value; }
  const std::string& SocksPassword() const { return socks_password_; }
  void SetSocksPassword(const std::string& value) { socks_password_ = value; }
  TSocksAuthentication SocksAuthentication() const { return socks_authentication_; }
  void SetSocksAuthentication(TSocksAuthentication value) { socks_authentication_ = value; }
  // What a SOCKS 5 server reported as its bound address and port.
  const std::string& SocksBoundAddr() const { return negotiation_.BoundAddr(); }
  const std::string& SocksBoundPort() const { return negotiation_.BoundPort(); }
  // The negotiation state as a number: 0 none or finished, 1 connecting to the server or
  // waiting for its method, 2 authentication, 3 connection.
  int SocksState() const {
    return static_cast<int>(connecting_to_server_ ? net::SocksState::kMethodReply
                                                  : negotiation_.State());
  }

  TSocksErrorEvent OnSocksError;
  TSocksAuthStateEvent OnSocksAuthState;

  void Connect() override;
  void Listen() override;

 protected:
  void AssignDefaultValue() override;
  void TriggerSessionConnected(Word error) override;
  bool TriggerDataAvailable(Word error) override;
  void TriggerSessionClosed(Word error) override;
  int DoRecv(void* buffer, int size, int flags) override;
  int GetRcvdCount() override;
  // The connection below the layers above is made (directly, or past the negotiation):
  // the user's connection event, unless a layer above has its own work to do first.
  virtual void TriggerSocksSessionConnected(Word error) {
    TCustomWSocket::TriggerSessionConnected(error);
  }
  bool Negotiating() const {
    return connecting_to_server_ || negotiation_.State() != net::SocksState::kIdle;
  }

 private:
  void HandleOutcome(const SocksOutcome& outcome);
  void SocksIsConnected();
  void SocksError(int code, const std::string& text);
  // SocksNegotiation::Sink
  void SendRequest(std::span<const std::uint8_t> bytes) override;
  void AuthState(TSocksAuthState state) override;
  std::uint32_t ResolveSocks4Destination(const std::string& host) override;

  std::string socks_level_ = "5";
  std::string socks_server_;
  std::string socks_port_;
  std::string socks_usercode_;
  std::string socks_password_;
  TSocksAuthentication socks_authentication_ = socksNoAuthentication;
  SocksNegotiation negotiation_;
  int destination_port_ = 0;
  bool connecting_to_server_ = false;  // state 1 before the server connection is made
};

}  // namespace tessival::net
