// Feeds arbitrary server bytes, cut into arbitrary pieces, to the HTTP client's answer
// reader: status lines, header fields, locations, bodies and their ends.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "net/http_cli.h"
#include "platform/host_resolver.h"
#include "platform/message_loop.h"
#include "platform/stream.h"

namespace {

// A relocation must not send the fuzzer out to look up names.
class NoHosts : public tessival::platform::HostResolver {
 public:
  tessival::platform::HostLookupResult LookupName(const std::string&) override { return {11001, {}}; }
  tessival::platform::HostLookupResult LookupAddress(std::uint32_t) override { return {11001, {}}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool resolver_set = [] {
    tessival::platform::SetHostResolver(std::make_shared<NoHosts>());
    return true;
  }();
  (void)resolver_set;
  if (size == 0) return 0;
  // The first byte chooses the piece length, so the same answer is read in many splits.
  const std::size_t piece = 1 + data[0] % 64;
  std::string_view answer(reinterpret_cast<const char*>(data) + 1, size - 1);
  tessival::platform::MessageLoop loop;
  tessival::net::THttpCli http(loop);
  tessival::platform::TMemoryStream body;
  http.ReceiveStream = &body;
  http.URL = "http://127.0.0.1/dir/page.html";
  while (!answer.empty()) {
    http.FeedAnswerForTesting(answer.substr(0, piece));
    answer.remove_prefix(std::min(piece, answer.size()));
  }
  http.EndAnswerForTesting();
  if (static_cast<std::size_t>(http.RcvdCount()) != body.Memory().size()) __builtin_trap();
  loop.ProcessMessages();
  return 0;
}
