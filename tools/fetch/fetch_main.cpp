// tessival-fetch: the HTTP client on the command line, for scripts, tests and benchmarks.
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "fetch_options.h"
#include "net/http_cli.h"
#include "platform/message_loop.h"
#include "platform/stream.h"

namespace {

using namespace tessival;

// Standard output as a write-only stream.
class StdoutStream : public platform::TStream {
 public:
  std::size_t Read(void*, std::size_t) override { return 0; }
  std::size_t Write(const void* buffer, std::size_t count) override {
    std::size_t done = 0;
    while (done < count) {
      const ssize_t n = ::write(STDOUT_FILENO, static_cast<const char*>(buffer) + done, count - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    return done;
  }
  std::int64_t Seek(std::int64_t, platform::SeekOrigin) override { return 0; }
};

void Configure(net::THttpCli& http, const tools::FetchOptions& options) {
  http.Username = options.user;
  http.Password = options.password;
  if (!options.proxy.empty()) {
    const std::size_t colon = options.proxy.rfind(':');
    http.Proxy = options.proxy.substr(0, colon);
    if (colon != std::string::npos) http.ProxyPort = options.proxy.substr(colon + 1);
  }
  http.ProxyUsername = options.proxy_user;
  http.ProxyPassword = options.proxy_password;
  if (!options.socks.empty()) {
    const std::size_t colon = options.socks.rfind(':');
    http.SetSocksServer(options.socks.substr(0, colon));
    http.SetSocksPort(colon == std::string::npos ? "1080" : options.socks.substr(colon + 1));
    http.SetSocksLevel(options.socks_level);
    if (!options.socks_user.empty()) {
      http.SetSocksUsercode(options.socks_user);
      http.SetSocksPassword(options.socks_password);
      http.SetSocksAuthentication(net::socksAuthenticateUsercode);
    }
  }
  if (!options.ca_file.empty()) http.SetTlsCaFile(options.ca_file);
  if (options.insecure) {
    std::cerr << "tessival-fetch: WARNING: --insecure: server certificates are NOT checked; "
                 "anyone on the way can read and change the data\n";
    http.SetTlsVerification(net::TTlsVerification::kInsecure);
  }
  http.Timeout = std::chrono::seconds(options.timeout_seconds);
  if (options.verbose) {
    http.OnHeaderEnd = [](net::THttpCli& sender) {
      for (const std::string& line : sender.RcvdHeaderLines()) std::cerr << line << "\n";
    };
  }
}

// Fetches one address; false when it failed.
bool FetchOne(net::THttpCli& http, const std::string& url, const tools::FetchOptions& options) {
  http.URL = url;
  std::unique_ptr<platform::TFileStream> post;
  try {
    if (!options.post_file.empty()) {
      post = std::make_unique<platform::TFileStream>(options.post_file,
                                                     platform::TFileStream::Mode::kOpenRead);
      http.PostStream = post.get();
      http.Post();
    } else if (options.head) {
      http.Head();
    } else {
      http.Get();
    }
  } catch (const net::EHttpException& e) {
    std::cerr << "tessival-fetch: " << url << ": " << http.StatusCode() << " " << e.what() << "\n";
    return false;
  } catch (const std::exception& e) {
    std::cerr << "tessival-fetch: " << url << ": " << e.what() << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string error;
  const auto options = tools::ParseFetchOptions(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!options) {
    std::cerr << "tessival-fetch: " << error << "\n" << tools::kFetchUsage;
    return 2;
  }
  if (options->help) {
    std::cout << tools::kFetchUsage;
    return 0;
  }
  std::unique_ptr<platform::TStream> output;
  try {
    if (options->output.empty()) {
      output = std::make_unique<StdoutStream>();
    } else {
      output = std::make_unique<platform::TFileStream>(options->output,
                                                       platform::TFileStream::Mode::kCreate);
    }
  } catch (const std::exception& e) {
    std::cerr << "tessival-fetch: " << e.what() << "\n";
    return 1;
  }
  net::THttpCli http;
  Configure(http, *options);
  http.ReceiveStream = output.get();
  bool all_good = true;
  for (const std::string& url : options->urls) all_good = FetchOne(http, url, *options) && all_good;
  return all_good ? 0 : 1;
}
