#include "net/http_request_header.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tessival::net {
namespace {

using ::testing::ElementsAre;

// Every byte value in the target: the ones a request line may carry stay, all others
// become "%XX", and no line of the header holds a CR or LF.
TEST(RequestHeader, EveryByteOfTheTargetAndHostIsSafeOnTheWire) {
  for (int value = 0; value < 256; ++value) {
    const char byte = static_cast<char>(value);
    RequestHeaderFields fields;
    fields.method = "GET";
    fields.path = std::string("/a") + byte + "b";
    fields.server_host = std::string("h") + byte;
    const std::vector<std::string> lines = BuildRequestHeader(fields);
    const bool kept = value >= 33 && value <= 126;
    char escaped[4];
    std::snprintf(escaped, sizeof escaped, "%%%02X", value);
    const std::string shown = kept ? std::string(1, byte) : std::string(escaped);
    EXPECT_THAT(lines, ElementsAre("GET /a" + shown + "b HTTP/1.0", "Host: h" + shown)) << value;
  }
}

TEST(RequestHeader, LineBreakIsFoundInTheValuesSentAsTheyStand) {
  RequestHeaderFields fields;
  fields.username = "u\r\n";  // travels Base64-encoded
  fields.proxy_password = "p\n";
  fields.path = "/\r\n";  // travels escaped
  EXPECT_EQ(FirstValueWithLineBreak(fields), "");
  fields.accept_language = "de\n";
  EXPECT_EQ(FirstValueWithLineBreak(fields), "Accept-Language");
  fields.accept_language = "de";
  fields.content_type_post = "a/b\r";
  EXPECT_EQ(FirstValueWithLineBreak(fields), "Content-Type");
  fields.content_type_post.clear();
  fields.range_begin = "1\r\n";
  EXPECT_EQ(FirstValueWithLineBreak(fields), "Range");
}

}  // namespace
}  // namespace tessival::net
