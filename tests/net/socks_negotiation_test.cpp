#include "net/socks_negotiation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "net/socket_exception.h"

namespace tessival::net {
namespace {

using ::testing::ElementsAre;

std::string Bytes(std::initializer_list<int> values) {
  std::string out;
  for (const int v : values) out.push_back(static_cast<char>(v));
  return out;
}

class RecordingSink : public SocksNegotiation::Sink {
 public:
  void SendRequest(std::span<const std::uint8_t> bytes) override {
    sent.emplace_back(bytes.begin(), bytes.end());
  }
  void AuthState(TSocksAuthState state) override { auth.push_back(state); }
  std::uint32_t ResolveSocks4Destination(const std::string& host) override {
    if (host == "unknown.invalid") throw ESocketException("no such host");
    return 0x0100007F;  // 127.0.0.1 in network byte order
  }
  std::vector<std::string> sent;
  std::vector<TSocksAuthState> auth;
};

struct Result {
  SocksOutcome::Kind kind = SocksOutcome::kWait;
  int error = 0;
  std::string text, bound_addr, bound_port;
  // Once connected: what the user of the socket receives next, whether it came with the
  // reply (left-over bytes) or stayed on the network.
  std::string after;
  std::vector<std::string> sent;
  std::vector<TSocksAuthState> auth;
  bool operator==(const Result&) const = default;
};

SocksRequest Request(const std::string& level, const std::string& host = "target.invalid") {
  SocksRequest request;
  request.level = level;
  request.host = host;
  request.port = 80;
  return request;
}

// Runs a negotiation against the server's replies, each reply arriving in two pieces cut
// at `cut` (a reply shorter than that in one piece). Bytes are handed over only as far as
// ReceiveSpace() takes them, like a socket reading from the network.
Result Negotiate(const SocksRequest& request, const std::vector<std::string>& replies, std::size_t cut) {
  RecordingSink sink;
  SocksNegotiation negotiation;
  SocksOutcome outcome = negotiation.Start(request, sink);
  std::string waiting;
  for (const std::string& reply : replies) {
    for (const std::string& piece :
         {reply.substr(0, cut), cut < reply.size() ? reply.substr(cut) : ""}) {
      waiting += piece;
      while (outcome.kind == SocksOutcome::kWait && !waiting.empty()) {
        const std::span<std::uint8_t> space = negotiation.ReceiveSpace();
        if (space.empty()) break;
        const std::size_t count = std::min(space.size(), waiting.size());
        std::memcpy(space.data(), waiting.data(), count);
        waiting.erase(0, count);
        outcome = negotiation.Received(static_cast<int>(count), sink);
      }
    }
  }
  Result result{
      outcome.kind, outcome.error, outcome.text, negotiation.BoundAddr(), negotiation.BoundPort(),
      {},           sink.sent,     sink.auth};
  if (outcome.kind != SocksOutcome::kConnected) return result;
  char buffer[3];
  while (const int n = negotiation.TakeLeftOver(buffer, sizeof buffer)) result.after.append(buffer, n);
  result.after += waiting;
  return result;
}

struct ReplyCase {
  const char* name;
  SocksRequest request;
  std::vector<std::string> replies;
  SocksOutcome::Kind kind;
  int error;
  std::string text_or_bound;  // the error text, or the bound address
  std::string after;          // what the user receives after the negotiation
};

SocksRequest WithAuthentication(SocksRequest request) {
  request.user = "u";
  request.password = "pw";
  request.authentication = socksAuthenticateUsercode;
  return request;
}

std::vector<ReplyCase> ReplyCases() {
  const std::string connect5 = Bytes({5, 0, 0, 1, 10, 1, 2, 3, 0x1F, 0x90});
  return {
      {"Socks5DataBehindTheReply",
       Request("5"),
       {Bytes({5, 0}), connect5 + "data"},
       SocksOutcome::kConnected,
       0,
       "10.1.2.3",
       "data"},
      {"Socks5NamedBoundAddress",
       WithAuthentication(Request("5")),
       {Bytes({5, 2}), Bytes({1, 0}), Bytes({5, 0, 0, 3, 4, 'h', 'o', 's', 't', 0, 21})},
       SocksOutcome::kConnected,
       0,
       "host",
       ""},
      {"Socks5AuthenticationRefused",
       WithAuthentication(Request("5")),
       {Bytes({5, 2}), Bytes({1, 1})},
       SocksOutcome::kError,
       20015,
       "socks authentication failed",
       ""},
      {"Socks5NoAcceptableMethod",
       Request("5"),
       {Bytes({5, 255})},
       SocksOutcome::kError,
       20003,
       "authentification method not acceptable",
       ""},
      {"Socks5HostUnreachable",
       Request("5"),
       {Bytes({5, 0}), Bytes({5, 4, 0, 1, 0, 0, 0, 0, 0, 0})},
       SocksOutcome::kError,
       20007,
       "host unreachable",
       ""},
      {"Socks5WrongVersion",
       Request("5"),
       {Bytes({5, 0}), Bytes({4, 0, 0, 1, 0, 0, 0, 0, 0, 0})},
       SocksOutcome::kError,
       20002,
       "socks version error",
       ""},
      {"Socks5UnknownAddressType",
       Request("5"),
       {Bytes({5, 0}), Bytes({5, 0, 0, 4, 0, 0, 0, 0, 0, 0})},
       SocksOutcome::kError,
       20011,
       "address type not supported",
       ""},
      {"Socks4GrantedLeavesTheRestOnTheNetwork",
       Request("4", "peer.example"),
       {Bytes({0, 90, 0, 0, 0, 0, 0, 0}) + "xy"},
       SocksOutcome::kConnected,
       0,
       "",
       "xy"},
      {"Socks4Rejected",
       Request("4", "peer.example"),
       {Bytes({0, 91, 0, 0, 0, 0, 0, 0})},
       SocksOutcome::kError,
       20016,
       "request rejected or failed",
       ""},
      {"Socks4AIdentityRefused",
       Request("4A"),
       {Bytes({0, 93, 0, 0, 0, 0, 0, 0})},
       SocksOutcome::kError,
       20015,
       "authentification failed",
       ""},
      {"Socks4AUnassignedCode",
       Request("4A"),
       {Bytes({0, 7, 0, 0, 0, 0, 0, 0})},
       SocksOutcome::kError,
       20012,
       "unassigned error #7",
       ""},
  };
}

// Each reply cut at every byte reads the same as the reply in one piece.
TEST(SocksNegotiation, EveryReplySplitAtEveryByteReadsTheSame) {
  for (const ReplyCase& c : ReplyCases()) {
    const Result whole = Negotiate(c.request, c.replies, 1000);
    EXPECT_EQ(whole.kind, c.kind) << c.name;
    EXPECT_EQ(whole.error, c.error) << c.name;
    EXPECT_EQ(c.kind == SocksOutcome::kError ? whole.text : whole.bound_addr, c.text_or_bound) << c.name;
    EXPECT_EQ(whole.after, c.after) << c.name;
    std::size_t longest = 0;
    for (const std::string& reply : c.replies) longest = std::max(longest, reply.size());
    for (std::size_t cut = 1; cut < longest; ++cut) {
      EXPECT_TRUE(Negotiate(c.request, c.replies, cut) == whole) << c.name << " cut at " << cut;
    }
  }
}

TEST(SocksNegotiation, RequestsCarryTheNameOrTheAddressByLevel) {
  const Result socks4a = Negotiate(Request("4A"), {}, 1000);
  EXPECT_THAT(socks4a.sent,
              ElementsAre(Bytes({4, 1, 0, 80, 0, 0, 0, 1, 0}) + "target.invalid" + Bytes({0})));
  const Result socks4 = Negotiate(Request("4", "peer.example"), {}, 1000);
  EXPECT_THAT(socks4.sent, ElementsAre(Bytes({4, 1, 0, 80, 127, 0, 0, 1, 0})));
  const Result socks5 = Negotiate(WithAuthentication(Request("5")), {Bytes({5, 2})}, 1000);
  EXPECT_THAT(socks5.sent, ElementsAre(Bytes({5, 1, 2}), Bytes({1, 1, 'u', 2, 'p', 'w'})));
  EXPECT_THAT(socks5.auth, ElementsAre(socksAuthBegin));
  const Result unknown = Negotiate(Request("4", "unknown.invalid"), {}, 1000);
  EXPECT_EQ(unknown.error, 20017);
  EXPECT_EQ(unknown.text, "ESocketException no such host");
}

// Every request is built in 128 bytes: the longest values that fit are sent whole, one
// byte more is refused before anything is sent.
TEST(SocksNegotiation, RequestLimitsHoldAtTheirExactValue) {
  struct Limit {
    const char* name;
    SocksRequest request;
    std::vector<std::string> replies;  // what leads to the request with the long value
  };
  auto user = [](SocksRequest r, std::size_t n) {
    r.user.assign(n, 'u');
    return r;
  };
  auto auth = [](std::size_t user_length, std::size_t password_length) {
    SocksRequest r = Request("5");
    r.authentication = socksAuthenticateUsercode;
    r.user.assign(user_length, 'u');
    r.password.assign(password_length, 'p');
    return r;
  };
  // The table keeps its hand-made columns.
  // clang-format off
  const std::vector<std::pair<Limit, Limit>> limits = {
      {{"4 user", user(Request("4", "peer.example"), 119), {}},
       {"4 user", user(Request("4", "peer.example"), 120), {}}},
      {{"4A user+host", user(Request("4A", std::string(18, 'h')), 100), {}},
       {"4A user+host", user(Request("4A", std::string(19, 'h')), 100), {}}},
      {{"5 host", Request("5", std::string(121, 'h')), {Bytes({5, 0})}},
       {"5 host", Request("5", std::string(122, 'h')), {Bytes({5, 0})}}},
      {{"5 user+password", auth(60, 65), {Bytes({5, 2})}},
       {"5 user+password", auth(60, 66), {Bytes({5, 2})}}},
  };
  // clang-format on
  for (const auto& [fits, too_long] : limits) {
    const Result sent = Negotiate(fits.request, fits.replies, 1000);
    EXPECT_EQ(sent.kind, SocksOutcome::kWait) << fits.name;
    ASSERT_FALSE(sent.sent.empty()) << fits.name;
    EXPECT_EQ(sent.sent.back().size(), 128u) << fits.name;
    const Result refused = Negotiate(too_long.request, too_long.replies, 1000);
    EXPECT_EQ(refused.error, 20014) << too_long.name;
    EXPECT_TRUE(refused.sent.empty()) << too_long.name;
  }
}

// A SOCKS 5 reply must fit the 127 bytes the reply buffer reads: a bound name of 120
// bytes does, 121 can never arrive whole and fails at once instead of waiting for ever.
TEST(SocksNegotiation, LongestBoundNameThatFitsTheReplyBuffer) {
  auto reply = [](int length) {
    return Bytes({5, 0, 0, 3, length}) + std::string(static_cast<std::size_t>(length), 'b') +
           Bytes({0, 80});
  };
  const Result fits = Negotiate(Request("5"), {Bytes({5, 0}), reply(120)}, 1000);
  EXPECT_EQ(fits.kind, SocksOutcome::kConnected);
  EXPECT_EQ(fits.bound_addr, std::string(120, 'b'));
  const Result too_long = Negotiate(Request("5"), {Bytes({5, 0}), reply(121)}, 1000);
  EXPECT_EQ(too_long.error, 20001);
}

}  // namespace
}  // namespace tessival::net
