#include "fetch_options.h"

#include <map>

namespace tessival::tools {

const char* const kFetchUsage =
    "usage: tessival-fetch [options] URL [URL...]\n"
    "Fetches each URL in turn with the program's own HTTP/1.0 client and writes the bodies,\n"
    "one after the other, to standard output or a file.\n"
    "\n"
    "  -o FILE                   write the bodies to FILE instead of standard output\n"
    "  --head                    send HEAD requests (no body)\n"
    "  --post FILE               send FILE as the body of a POST request\n"
    "  --user U --password P     Basic authentication with the server\n"
    "  --proxy HOST[:PORT]       go through an HTTP proxy (port 80 when none is given)\n"
    "  --proxy-user U --proxy-password P   Basic authentication with the proxy\n"
    "  --socks HOST:PORT         connect through a SOCKS server\n"
    "  --socks-level 4|4A|5      the SOCKS version (default 5); with 4A and 5 the SOCKS\n"
    "                            server looks the host name up, not this machine\n"
    "  --socks-user U --socks-password P   SOCKS 5 user name and password\n"
    "  --cacert FILE             trust the certificate authorities in FILE (PEM) for https,\n"
    "                            besides the system's (also: TESSIVAL_CA_FILE=FILE)\n"
    "  --insecure                https WITHOUT checking the server's certificate: anyone on\n"
    "                            the way can read and change the data (prints a warning)\n"
    "  --timeout S               give up when nothing arrives for S seconds (default 60)\n"
    "  -v                        status line and header lines to standard error\n"
    "  --help                    this text\n"
    "\n"
    "Exit status 0 when every final status is below 400; 1 otherwise, with the status and\n"
    "reason on standard error; 2 for a bad command line.\n";

std::optional<FetchOptions> ParseFetchOptions(const std::vector<std::string>& args, std::string& error) {
  FetchOptions options;
  // The table keeps its hand-made columns.
  // clang-format off
  const std::map<std::string, std::string*> with_value = {
      {"-o", &options.output},
      {"--post", &options.post_file},
      {"--user", &options.user},
      {"--password", &options.password},
      {"--proxy", &options.proxy},
      {"--proxy-user", &options.proxy_user},
      {"--proxy-password", &options.proxy_password},
      {"--socks", &options.socks},
      {"--socks-level", &options.socks_level},
      {"--socks-user", &options.socks_user},
      {"--socks-password", &options.socks_password},
      {"--cacert", &options.ca_file},
  };
  // clang-format on
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--head") {
      options.head = true;
    } else if (arg == "--insecure") {
      options.insecure = true;
    } else if (arg == "-v") {
      options.verbose = true;
    } else if (arg == "--timeout" || with_value.contains(arg)) {
      if (i + 1 >= args.size()) {
        error = arg + " needs a value";
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (arg == "--timeout") {
        try {
          options.timeout_seconds = std::stoi(value);
        } catch (const std::exception&) {
          error = "--timeout needs a number of seconds";
          return std::nullopt;
        }
      } else {
        *with_value.at(arg) = value;
      }
    } else if (!arg.empty() && arg[0] == '-') {
      error = "unknown option " + arg;
      return std::nullopt;
    } else {
      options.urls.push_back(arg);
    }
  }
  if (!options.help && options.urls.empty()) {
    error = "no URL given";
    return std::nullopt;
  }
  if (options.socks_level != "4" && options.socks_level != "4A" && options.socks_level != "5") {
    error = "--socks-level must be 4, 4A or 5";
    return std::nullopt;
  }
  return options;
}

}  // namespace tessival::tools
