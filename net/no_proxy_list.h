#pragma once
// The "no_proxy" list: the hosts reached directly although a proxy is set. Read the way
// the common command-line clients read it, so one variable means the same to all of them:
// entries separated by commas or blanks; "*" for every host; a name matches itself and
// every name below it ("example.org" and ".example.org" both match "www.example.org", not
// "myexample.org"), without regard to case; an address host matches an equal address or
// an address prefix ("10.0.0.0/8", "fd00::/8"), never a name.
#include <string>

namespace tessival::net {

bool NoProxyMatches(const std::string& no_proxy, const std::string& host);

}  // namespace tessival::net
