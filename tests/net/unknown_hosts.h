#pragma once
// A name resolver that knows no host, so a test's unknown name never leaves the machine.
#include <memory>

#include "platform/host_resolver.h"

namespace tessival::net::testing {

class UnknownHosts : public platform::HostResolver {
 public:
  platform::HostLookupResult LookupName(const std::string&) override { return {11001, {}}; }
  platform::HostLookupResult LookupAddress(std::uint32_t) override { return {11001, {}}; }
};

// Installs UnknownHosts for its lifetime and puts the previous resolver back.
class ScopedUnknownHosts {
 public:
  ScopedUnknownHosts() : previous_(platform::CurrentHostResolver()) {
    platform::SetHostResolver(std::make_shared<UnknownHosts>());
  }
  ~ScopedUnknownHosts() { platform::SetHostResolver(previous_); }
  ScopedUnknownHosts(const ScopedUnknownHosts&) = delete;
  ScopedUnknownHosts& operator=(const ScopedUnknownHosts&) = delete;

 private:
  std::shared_ptr<platform::HostResolver> previous_;
};

}  // namespace tessival::net::testing
