#pragma once
// Name-resolution helpers shared by the socket classes: host, port and protocol texts to
// numbers, failing with ESocketException and the socket layer's messages.
#include <cstdint>
#include <string>

namespace tessival::net {

// Four decimal parts of at most 255, separated by dots that are each followed by a digit;
// leading and trailing spaces allowed.
bool WSocketIsDottedIP(const std::string& text);

// The IPv4 address in network byte order.
std::uint32_t WSocketResolveHost(const std::string& text);
// The port number in host byte order.
int WSocketResolvePort(const std::string& port, const std::string& proto);
int WSocketResolveProto(const std::string& text);

// Dotted form of an address in network byte order.
std::string WSocketIpToStr(std::uint32_t address);

std::string Trim(const std::string& text);
std::string LowerCase(std::string text);

}  // namespace tessival::net
