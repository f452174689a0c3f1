#pragma once
// WinSock error numbers and their texts, and the mapping from POSIX errno values onto
// them: the socket layer reports every failure with the numbers its callers know.
#include <string>

namespace tessival::platform {

constexpr int WSABASEERR = 10000;
constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEACCES = 10013;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAEINPROGRESS = 10036;
constexpr int WSAEALREADY = 10037;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEMSGSIZE = 10040;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAECONNABORTED = 10053;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAESHUTDOWN = 10058;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAECONNREFUSED = 10061;
constexpr int WSANOTINITIALISED = 10093;
constexpr int WSAHOST_NOT_FOUND = 11001;
constexpr int WSATRY_AGAIN = 11002;
constexpr int WSANO_RECOVERY = 11003;
constexpr int WSANO_DATA = 11004;

// The WinSock number for a POSIX errno value; values without a counterpart pass through
// unchanged (and then read "Not a WinSock error").
int WinSockErrorFromErrno(int error_number);

// The WinSock number for a getaddrinfo/getnameinfo result (EAI_*).
int WinSockErrorFromLookup(int eai_code);

// The English text of a WinSock error number.
std::string WinSockErrorDesc(int error);

}  // namespace tessival::platform
