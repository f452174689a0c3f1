#include "platform/host_resolver.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <mutex>

#include "platform/wsock_errors.h"

namespace tessival::platform {
namespace {

std::mutex resolver_mutex;

std::shared_ptr<HostResolver>& ResolverSlot() {
  static std::shared_ptr<HostResolver> resolver = std::make_shared<SystemHostResolver>();
  return resolver;
}

}  // namespace

HostLookupResult SystemHostResolver::LookupName(const std::string& name) {
  HostLookupResult result;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* list = nullptr;
  const int code = ::getaddrinfo(name.c_str(), nullptr, &hints, &list);
  if (code != 0) {
    result.error = WinSockErrorFromLookup(code);
    return result;
  }
  result.entry.name = list->ai_canonname ? list->ai_canonname : name;
  for (const addrinfo* item = list; item != nullptr; item = item->ai_next) {
    const auto* in = reinterpret_cast<const sockaddr_in*>(item->ai_addr);
    result.entry.addresses.push_back(in->sin_addr.s_addr);
  }
  ::freeaddrinfo(list);
  return result;
}

HostLookupResult SystemHostResolver::LookupAddress(std::uint32_t address) {
  HostLookupResult result;
  sockaddr_in in{};
  in.sin_family = AF_INET;
  in.sin_addr.s_addr = address;
  char host[NI_MAXHOST];
  const int code = ::getnameinfo(reinterpret_cast<const sockaddr*>(&in), sizeof in, host, sizeof host,
                                 nullptr, 0, NI_NAMEREQD);
  if (code != 0) {
    result.error = WinSockErrorFromLookup(code);
    return result;
  }
  result.entry.name = host;
  result.entry.addresses.push_back(address);
  return result;
}

std::shared_ptr<HostResolver> CurrentHostResolver() {
  std::lock_guard lock(resolver_mutex);
  return ResolverSlot();
}

void SetHostResolver(std::shared_ptr<HostResolver> resolver) {
  std::lock_guard lock(resolver_mutex);
  ResolverSlot() = resolver ? std::move(resolver) : std::make_shared<SystemHostResolver>();
}

}  // namespace tessival::platform
