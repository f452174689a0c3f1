#pragma once
// Name lookup behind an interface: the socket facade runs it on a helper thread for the
// asynchronous lookups and directly for the blocking ones, and tests put a table in its
// place so that no lookup ever leaves the machine.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessival::platform {

// The answer of one lookup. Addresses are IPv4 in network byte order.
struct HostEntry {
  std::string name;
  std::vector<std::uint32_t> addresses;
};

struct HostLookupResult {
  int error = 0;  // a WinSock number (11001 host not found, ...), 0 on success
  HostEntry entry;
};

class HostResolver {
 public:
  virtual ~HostResolver() = default;
  // Both are called from helper threads as well as the loop thread: an implementation
  // must be safe to call concurrently.
  virtual HostLookupResult LookupName(const std::string& name) = 0;
  virtual HostLookupResult LookupAddress(std::uint32_t address) = 0;
};

// getaddrinfo / getnameinfo, IPv4 only.
class SystemHostResolver : public HostResolver {
 public:
  HostLookupResult LookupName(const std::string& name) override;
  HostLookupResult LookupAddress(std::uint32_t address) override;
};

// The resolver every socket uses; the system's until replaced. Replacing it affects
// lookups started afterwards; running ones keep the resolver they started with.
std::shared_ptr<HostResolver> CurrentHostResolver();
void SetHostResolver(std::shared_ptr<HostResolver> resolver);

}  // namespace tessival::platform
