#pragma once
// The command line of tessival-fetch.
#include <optional>
#include <string>
#include <vector>

namespace tessival::tools {

struct FetchOptions {
  std::vector<std::string> urls;
  std::string output;  // empty: standard output
  bool head = false;
  std::string post_file;
  std::string user, password;
  std::string proxy, proxy_user, proxy_password;
  std::string socks, socks_level = "5", socks_user, socks_password;
  std::string ca_file;    // an extra authority file trusted for https
  bool insecure = false;  // https without checking the server's certificate
  int timeout_seconds = 60;
  bool verbose = false;
  bool help = false;
};

// The options, or nothing with the reason in error.
std::optional<FetchOptions> ParseFetchOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const kFetchUsage;

}  // namespace tessival::tools
