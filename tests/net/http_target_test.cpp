#include "net/http_target.h"

#include <gtest/gtest.h>

namespace tessival::net {
namespace {

struct Expected {
  std::string location, path, hostname, port, server_host, username, password;
};

void ExpectTarget(const HttpTarget& t, const Expected& e, const std::string& what) {
  EXPECT_EQ(t.Location, e.location) << what;
  EXPECT_EQ(t.Path, e.path) << what;
  EXPECT_EQ(t.Hostname, e.hostname) << what;
  EXPECT_EQ(t.Port, e.port) << what;
  EXPECT_EQ(t.ServerHost, e.server_host) << what;
  EXPECT_EQ(t.Username, e.username) << what;
  EXPECT_EQ(t.Password, e.password) << what;
}

// Where a new request goes, directly and through a proxy. Location is the caller's (the
// client sets it to the address) and stays as it was.
TEST(HttpTarget, RequestTargetsDirectAndThroughAProxy) {
  struct Case {
    std::string url, proxy, previous_path;
    Expected expected;
  };
  // The table keeps its hand-made columns.
  // clang-format off
  const Case cases[] = {
      {"http://u:w@h:8080/a/b?q=1", "", "", {"", "/a/b?q=1", "h", "8080", "h", "u", "w"}},
      {"h", "", "", {"", "/", "h", "80", "h", "", ""}},
      {"./x.html", "", "/dir/page.htm", {"", "/dir/x.html", "", "80", "", "", ""}},
      {"http://t.example:8080/a/b.html", "127.0.0.1:3128", "",
       {"", "http://t.example:8080/a/b.html", "127.0.0.1", "3128", "t.example", "", ""}},
      {"t.example", "proxy.example", "", {"", "http://t.example", "proxy.example", "81", "t.example", "", ""}},
  };
  // clang-format on
  for (const Case& c : cases) {
    HttpTarget target;
    target.Path = c.previous_path;
    ComputeRequestTarget(c.url, c.proxy, "81", target);
    ExpectTarget(target, c.expected, c.url + " via " + c.proxy);
  }
}

// How a "location" line moves the target of a request for http://h:8080/dir/page.html,
// made directly or through a proxy.
TEST(HttpTarget, LocationsMoveTheTarget) {
  struct Case {
    bool through_proxy;
    std::string value;
    Expected expected;
  };
  // The table keeps its hand-made columns.
  // clang-format off
  const Case cases[] = {
      {false, "/new", {"http://h/new", "/new", "h", "8080", "h", "", ""}},
      {false, "next.html", {"http://h//dir/next.html", "/dir/next.html", "h", "8080", "h", "", ""}},
      {false, "http://o:81/x", {"http://o/x", "/x", "o", "81", "o", "", ""}},
      {false, "http://o", {"http://o", "/", "o", "80", "o", "", ""}},
      {false, "http://a:b@o/x", {"http://o/x", "/x", "o", "80", "o", "a", "b"}},
      {false, "http://a@o/x", {"http://o/x", "/x", "o", "80", "o", "", ""}},
      {true, "/new", {"http://h/new", "http://h/new", "proxy", "3128", "h", "", ""}},
      {true, "http://o/x", {"http://o/x", "http://o/x", "proxy", "80", "o", "", ""}},
  };
  // clang-format on
  for (const Case& c : cases) {
    HttpTarget target;
    ComputeRequestTarget("http://h:8080/dir/page.html", c.through_proxy ? "proxy:3128" : "", "80",
                         target);
    target.Location = "http://h:8080/dir/page.html";
    ApplyLocationHeader(c.value, c.through_proxy, target);
    ExpectTarget(target, c.expected, c.value + (c.through_proxy ? " via proxy" : ""));
  }
}

}  // namespace
}  // namespace tessival::net
