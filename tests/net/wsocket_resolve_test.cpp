#include "net/wsocket_resolve.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <memory>

#include "loopback_peer.h"
#include "net/socket_exception.h"
#include "platform/host_resolver.h"

namespace tessival::net {
namespace {

TEST(WSocketResolve, DottedAddressTestFollowsItsRules) {
  for (const char* yes : {"1.2.3.4", "  10.0.0.255  ", "0.0.0.0", "255.255.255.255"}) {
    EXPECT_TRUE(WSocketIsDottedIP(yes)) << yes;
  }
  for (const char* no :
       {"", ".1.2.3", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1..2.3", "1.2.3.", "a.b.c.d", "1.2.3.4x"}) {
    EXPECT_FALSE(WSocketIsDottedIP(no)) << no;
  }
}

std::string MessageOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const ESocketException& e) {
    return e.what();
  }
  return "no exception";
}

TEST(WSocketResolve, FailuresCarryTheirMessages) {
  platform::SetHostResolver(std::make_shared<testing::TableResolver>());
  EXPECT_EQ(MessageOf([] { WSocketResolveHost(""); }), "WSocketResolveHost: '' Invalid Hostname.");
  EXPECT_EQ(MessageOf([] { WSocketResolveHost("nowhere.example"); }),
            "WSocketResolveHost: Cannot convert host address 'nowhere.example', Error #11001");
  EXPECT_EQ(WSocketResolveHost(" peer.example "), htonl(0x7F000001));
  EXPECT_EQ(WSocketResolveHost("255.255.255.255"), 0xFFFFFFFFu);
  EXPECT_EQ(MessageOf([] { WSocketResolvePort("", "tcp"); }), "WSocketResolvePort: Invalid Port.");
  EXPECT_EQ(MessageOf([] { WSocketResolvePort("80", ""); }), "WSocketResolvePort: Invalid Proto.");
  EXPECT_EQ(WSocketResolvePort("8080abc", "tcp"), 8080);
  EXPECT_EQ(MessageOf([] { WSocketResolveProto(std::string(32, 'p')); }),
            "WSocketResolveProto: Invalid Protocol.");
  EXPECT_EQ(WSocketResolveProto("17"), 17);
  // Each length limit at its exact value.
  EXPECT_EQ(MessageOf([] { WSocketResolveHost(std::string(256, 'h')); }),
            "WSocketResolveHost: Cannot convert host address '" + std::string(256, 'h') +
                "', Error #11001");
  EXPECT_EQ(MessageOf([] { WSocketResolveHost(std::string(257, 'h')); }),
            "WSocketResolveHost: '" + std::string(257, 'h') + "' Invalid Hostname.");
  EXPECT_EQ(WSocketResolvePort("80" + std::string(29, 'x'), std::string(31, 't')), 80);
  EXPECT_EQ(MessageOf([] { WSocketResolvePort("80" + std::string(30, 'x'), "tcp"); }),
            "WSocketResolvePort: Invalid Port.");
  EXPECT_EQ(MessageOf([] { WSocketResolvePort("80", std::string(32, 't')); }),
            "WSocketResolvePort: Invalid Proto.");
  EXPECT_EQ(WSocketResolveProto("6" + std::string(30, 'p')), 6);
  EXPECT_EQ(WSocketResolveProto("tcp"), 6);
  platform::SetHostResolver(nullptr);
}

}  // namespace
}  // namespace tessival::net
