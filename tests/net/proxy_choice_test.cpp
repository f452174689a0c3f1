#include "net/proxy_choice.h"

#include <gtest/gtest.h>

#include <map>

#include "net/no_proxy_list.h"

namespace tessival::net {
namespace {

TEST(ParseProxyAddress, ReadsEachFormAndRefusesTheRest) {
  struct Case {
    const char* text;
    const char* described;  // "" when the text must be refused
    const char* user;
    const char* password;
  };
  // clang-format off
  const Case cases[] = {
      {"proxy.example:3128",                "http://proxy.example:3128",   "",      ""},
      {"http://proxy.example",              "http://proxy.example:1080",   "",      ""},
      {"  HTTP://Proxy:8080/  ",            "http://Proxy:8080",           "",      ""},
      {"socks4://10.0.0.1:1081",            "socks4://10.0.0.1:1081",      "",      ""},
      {"socks4a://h:1",                     "socks4a://h:1",               "",      ""},
      {"socks5://u@h:65535",                "socks5://h:65535",            "u",     ""},
      {"socks5h://u:p%40ss%3A@h",           "socks5h://h:1080",            "u",     "p@ss:"},
      {"http://a:b:c@h:3128",               "http://h:3128",               "a",     "b:c"},
      {"http://[::1]:3128",                 "http://[::1]:3128",           "",      ""},
      {"",                                  "",                            "",      ""},
      {"https://h:443",                     "",                            "",      ""},
      {"ftp://h",                           "",                            "",      ""},
      {"h:0",                               "",                            "",      ""},
      {"h:65536",                           "",                            "",      ""},
      {"h:",                                "",                            "",      ""},
      {"h:80x",                             "",                            "",      ""},
      {"http://:3128",                      "",                            "",      ""},
      {"ho st:80",                          "",                            "",      ""},
      {"u:p%0D%0AX@h",                      "",                            "",      ""},
      {"u:p%4@h",                           "",                            "",      ""},
      {"[::1",                              "",                            "",      ""},
      {"::1",                               "",                            "",      ""},
  };
  // clang-format on
  for (const Case& c : cases) {
    const ParsedProxy parsed = ParseProxyAddress(c.text);
    if (*c.described == '\0') {
      EXPECT_FALSE(parsed.server) << c.text;
      EXPECT_FALSE(parsed.error.empty()) << c.text;
      continue;
    }
    ASSERT_TRUE(parsed.server) << c.text << ": " << parsed.error;
    EXPECT_EQ(parsed.server->Describe(), c.described) << c.text;
    EXPECT_EQ(parsed.server->user, c.user) << c.text;
    EXPECT_EQ(parsed.server->password, c.password) << c.text;
  }
}

TEST(NoProxyMatches, NamesSuffixesAddressesAndPrefixes) {
  struct Case {
    const char* list;
    const char* host;
    bool direct;
  };
  // clang-format off
  const Case cases[] = {
      {"*",                         "anything.example",   true},
      {"a.example, *",              "b.example",          true},
      {"example.org",               "example.org",        true},
      {"example.org",               "www.Example.ORG",    true},
      {".example.org",              "www.example.org",    true},
      {".example.org",              "example.org",        true},
      {"example.org.",              "www.example.org.",   true},
      {"example.org",               "myexample.org",      false},
      {"www.example.org",           "example.org",        false},
      {"a.example b.example",       "b.example",          true},
      {"a.example,,b.example",      "b.example",          true},
      {"",                          "example.org",        false},
      {"example.org",               "",                   false},
      {"127.0.0.1",                 "127.0.0.1",          true},
      {"127.0.0.1",                 "127.0.0.2",          false},
      {"127.0.0.0/8",               "127.1.2.3",          true},
      {"10.0.0.0/8",                "11.0.0.1",           false},
      {"192.168.1.0/23",            "192.168.0.9",        true},
      {"192.168.1.0/24",            "192.168.0.9",        false},
      {"0.0.0.0/0",                 "8.8.8.8",            true},
      {"10.0.0.0/33",               "10.0.0.1",           false},
      {"10.0.0.0/",                 "10.0.0.1",           false},
      {"127.0.0.1",                 "localhost",          false},
      {"0.1",                       "127.0.0.1",          false},
      {"::1",                       "[::1]",              true},
      {"[::1]",                     "::1",                true},
      {"fd00::/8",                  "fd12::5",            true},
      {"fd00::/8",                  "fe80::1",            false},
      {"::ffff:0:0/96",             "10.0.0.1",           false},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(NoProxyMatches(c.list, c.host), c.direct) << '"' << c.list << "\" / " << c.host;
  }
}

SystemProxies ReadFrom(const std::map<std::string, std::string>& variables) {
  return ReadSystemProxies([&](const std::string& name) -> std::optional<std::string> {
    const auto found = variables.find(name);
    if (found == variables.end()) return std::nullopt;
    return found->second;
  });
}

std::string Chosen(const ProxySettings& settings, const SystemProxies& system, const std::string& url) {
  const std::optional<ProxyServer> server = ChooseProxy(settings, system, url);
  return server ? server->Describe() : "direct";
}

TEST(ChooseProxy, SystemVariablesByScheme) {
  struct Case {
    std::map<std::string, std::string> variables;
    const char* url;
    const char* expected;
  };
  // clang-format off
  const Case cases[] = {
      {{},                                                  "http://a.example/", "direct"},
      {{{"http_proxy", "h:1"}},                             "http://a.example/", "http://h:1"},
      {{{"HTTP_PROXY", "h:1"}},                             "http://a.example/", "http://h:1"},
      {{{"http_proxy", "h:1"}, {"HTTP_PROXY", "H:2"}},      "http://a.example/", "http://h:1"},
      {{{"http_proxy", ""}, {"HTTP_PROXY", "H:2"}},         "http://a.example/", "http://H:2"},
      {{{"http_proxy", "h:1"}},                             "https://a.example/", "direct"},
      {{{"https_proxy", "socks5h://s:9"}},                  "https://a.example/", "socks5h://s:9"},
      {{{"HTTPS_PROXY", "s:9"}, {"ALL_PROXY", "socks4://t:8"}}, "http://a.example/", "socks4://t:8"},
      {{{"all_proxy", "socks4a://t:8"}},                    "https://a.example/", "socks4a://t:8"},
      {{{"http_proxy", "bad:port"}, {"all_proxy", "t:8"}},  "http://a.example/", "http://t:8"},
      {{{"all_proxy", "t:8"}, {"no_proxy", ".example"}},    "http://a.example/", "direct"},
      {{{"all_proxy", "t:8"}, {"NO_PROXY", "example"}},     "http://other.test/", "http://t:8"},
      {{{"all_proxy", "t:8"}, {"no_proxy", "127.0.0.0/8"}}, "http://127.0.0.1:80/", "direct"},
  };
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(Chosen({}, ReadFrom(c.variables), c.url), c.expected) << c.url;
  }
}

TEST(ChooseProxy, ModesAndProblems) {
  const SystemProxies system = ReadFrom(
      {{"http_proxy", "h:1"}, {"HTTPS_PROXY", "ftp://x"}, {"all_proxy", "a:b:c"}});
  ASSERT_EQ(system.problems.size(), 2U);
  EXPECT_EQ(system.problems[0].rfind("HTTPS_PROXY ignoriert: ", 0), 0U) << system.problems[0];
  EXPECT_EQ(system.problems[1].rfind("all_proxy ignoriert: ", 0), 0U) << system.problems[1];

  ProxySettings settings;
  settings.mode = ProxyMode::kNone;
  EXPECT_EQ(Chosen(settings, system, "http://a/"), "direct");
  settings.mode = ProxyMode::kManual;
  settings.manual = *ParseProxyAddress("socks5://m:7").server;
  EXPECT_EQ(Chosen(settings, system, "http://a/"), "socks5://m:7");
}

}  // namespace
}  // namespace tessival::net
