#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "fetch_options.h"
#include "web_peers.h"

namespace tessival::tools {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::optional<FetchOptions> Parse(std::vector<std::string> args, std::string* error = nullptr) {
  std::string ignored;
  return ParseFetchOptions(args, error ? *error : ignored);
}

TEST(FetchOptions, ReadsEveryOptionAndKeepsTheAddressesInOrder) {
  const auto options = Parse({"-o", "out", "--head", "--user", "u", "--password", "p", "--proxy",
                              "px:3128", "--proxy-user", "pu", "--proxy-password", "pp", "--socks",
                              "s:1080", "--socks-level", "4A", "--socks-user", "su",
                              "--socks-password", "sp", "--timeout", "5", "-v", "http://a/",
                              "http://b/"});
  ASSERT_TRUE(options);
  EXPECT_EQ(options->output, "out");
  EXPECT_TRUE(options->head);
  EXPECT_EQ(options->proxy, "px:3128");
  EXPECT_EQ(options->socks_level, "4A");
  EXPECT_EQ(options->timeout_seconds, 5);
  EXPECT_TRUE(options->verbose);
  EXPECT_THAT(options->urls, ElementsAre("http://a/", "http://b/"));
}

TEST(FetchOptions, RefusesWhatItCannotUse) {
  std::string error;
  EXPECT_FALSE(Parse({}, &error));
  EXPECT_EQ(error, "no URL given");
  EXPECT_FALSE(Parse({"--socks-level", "6", "http://a/"}, &error));
  EXPECT_FALSE(Parse({"--timeout", "soon", "http://a/"}, &error));
  EXPECT_FALSE(Parse({"http://a/", "-o"}, &error));
  EXPECT_EQ(error, "-o needs a value");
  EXPECT_FALSE(Parse({"--bogus", "http://a/"}, &error));
  EXPECT_TRUE(Parse({"--help"}));
}

struct RunResult {
  int status;
  std::string output;
};

RunResult RunTool(const std::string& arguments) {
  const std::string command = std::string(TESSIVAL_FETCH_TOOL) + " " + arguments + " 2>&1";
  FILE* pipe = ::popen(command.c_str(), "r");
  std::string output;
  char buffer[4096];
  while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
  const int status = ::pclose(pipe);
  return {WEXITSTATUS(status), output};
}

TEST(FetchTool, WritesBodiesAndReportsFailuresByExitStatus) {
  net::testing::NginxPeer nginx;
  if (!nginx.Start()) GTEST_SKIP() << "nginx is not available: " << nginx.error();
  const RunResult ok = RunTool(nginx.url("/dir/page.html") + " " + nginx.url("/dir/next.html"));
  EXPECT_EQ(ok.status, 0);
  EXPECT_EQ(ok.output, "<html>page</html>\n<html>next</html>\n");

  const RunResult missing = RunTool(nginx.url("/nothing-here"));
  EXPECT_EQ(missing.status, 1);
  EXPECT_THAT(missing.output, HasSubstr("404 Not Found"));

  const RunResult verbose = RunTool("-v --head " + nginx.url("/index.html"));
  EXPECT_EQ(verbose.status, 0);
  EXPECT_THAT(verbose.output, HasSubstr("HTTP/1.1 200 OK"));
  EXPECT_EQ(RunTool("--socks-level 9 http://x/").status, 2);
}

}  // namespace
}  // namespace tessival::tools
